#pragma once
// CMyLog: the viewer's diagnostic log, %APPDATA%\Vistroma\main.log, written only on machines where the
// switch file main.log.on lies beside it (looked at once, at start). One statement is one line,
// "[I][  16][app_config] text", flushed at once; lines from several threads never mix.
//
//   VLOG_INFO << L"CAppConfig:" << path;
#include <mutex>
#include <sstream>
#include <string>
#include <string_view>

#include "basic_lib/scoped_handle.h"
#include "basic_lib/singleton.h"

namespace app {

// "[%4d][name] " with the text between the last path separator and the last dot of the source path, or
// "[%4d] " when there is no such text.
[[nodiscard]] std::wstring LogSourcePosition(std::string_view source_path, int line);

class CMyLog {
 public:
  static CMyLog& Get();

  // Opens <folder>main.log for appending when <folder>main.log.on exists; once.
  void Open();
  void OpenIn(const std::wstring& folder);
  [[nodiscard]] bool is_open() const { return file_.valid(); }

  // One line being assembled by the calling thread; written whole when it goes out of scope.
  class Line {
   public:
    Line(CMyLog& log, wchar_t level, std::string_view source_path, int line);
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;
    ~Line();
    template <typename T>
    Line& operator<<(const T& part) {
      stream_ << part;
      return *this;
    }

   private:
    CMyLog& log_;
    std::wostringstream stream_;
  };

  void Write(const std::wstring& line);

 private:
  friend class basic_lib::CSingletonT<CMyLog>;
  CMyLog() = default;

  std::mutex lock_;
  basic_lib::ScopedFileHandle file_;
};

}  // namespace app

#define VLOG_INFO ::app::CMyLog::Line(::app::CMyLog::Get(), L'I', __FILE__, __LINE__)
