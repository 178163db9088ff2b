#include "app/my_log.h"

#include <windows.h>

#include <cwchar>

#include "app/app_paths.h"
#include "basic_lib/text_convert.h"

namespace app {

std::wstring LogSourcePosition(std::string_view path, int line) {
  // Either separator: the compiler writes the path as the build machine spells it.
  const size_t slash = path.find_last_of("\\/");
  const std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = file.find_last_of('.');
  wchar_t number[16];
  swprintf(number, 16, L"[%4d]", line);
  std::wstring out = number;
  if (dot != std::string_view::npos && dot > 0) out += L"[" + basic_lib::Utf8ToWide(file.substr(0, dot)) + L"]";
  return out + L" ";
}

CMyLog& CMyLog::Get() { return basic_lib::CSingletonT<CMyLog>::Instance(); }

void CMyLog::Open() { OpenIn(GetDataFolder()); }

void CMyLog::OpenIn(const std::wstring& folder) {
  std::lock_guard<std::mutex> hold(lock_);
  if (file_ || folder.empty()) return;
  // The switch is opened, not merely looked up, so a folder we may not write to counts as switched off.
  basic_lib::ScopedFileHandle on(CreateFileW((folder + L"main.log.on").c_str(), GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!on) return;
  on.reset();
  file_.reset(CreateFileW((folder + L"main.log").c_str(), FILE_APPEND_DATA,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
}

CMyLog::Line::Line(CMyLog& log, wchar_t level, std::string_view source_path, int line) : log_(log) {
  stream_ << L'[' << level << L']' << LogSourcePosition(source_path, line);
}

CMyLog::Line::~Line() { log_.Write(stream_.str()); }

void CMyLog::Write(const std::wstring& line) {
  // UTF-8, so paths with any characters in them survive.
  const std::string bytes = basic_lib::WideToUtf8(line) + "\n";
  std::lock_guard<std::mutex> hold(lock_);
  if (!file_) return;
  DWORD written = 0;
  WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace app
