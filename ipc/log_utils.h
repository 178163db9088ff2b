#pragma once
// LogUtils: the messaging library's own logger. One process-wide LoggerImpl, silent until someone
// initialises it with a file; then it writes lines with a time, process and thread prefix, honours a
// level threshold, "<path>.on" switch files and commands, and keeps the file under a size limit. Several
// processes may share one file: writes take a named mutex derived from the path.
// Any thread; every member takes the logger's lock.
#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace ipc {

class LoggerImpl {
 public:
  static LoggerImpl& Get();
  LoggerImpl() = default;  // tests make their own
  LoggerImpl(const LoggerImpl&) = delete;
  LoggerImpl& operator=(const LoggerImpl&) = delete;
  ~LoggerImpl();

  [[nodiscard]] bool IsEnabled(int level) const;
  void Initialise(const std::wstring& path, const std::wstring& tag, bool verbose, bool stop_when_full,
                  std::uint64_t size_limit = 0x6400000);
  void SetLevel(int level);
  // "--set_log_lev=0".."3" or "--reload_log_switch", the first found (any case); other text is ignored.
  void HandleCommand(std::wstring_view text);
  void Reset();
  void End();
  // Writes text when level passes the threshold.
  void Log(int level, const std::wstring& text);

  [[nodiscard]] int threshold() const;

 private:
  void Marker(const std::wstring& text);  // written whatever the threshold
  void Append(const std::wstring& text);
  void Flush();
  [[nodiscard]] bool SwitchFileExists() const;

  mutable std::recursive_mutex lock_;
  int threshold_ = 3;
  bool level_pinned_ = false;
  bool stop_when_full_ = false;
  bool initialised_ = false;
  bool handling_full_ = false;
  std::wstring path_;
  std::wstring tag_;
  std::uint64_t size_limit_ = 0x6400000;
  std::vector<std::string> queue_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

// The prefix of a line: "MM-DD hh:mm:ss.mmm [pid][tid]" and "[tag]" when there is one.
[[nodiscard]] std::wstring LogUtilsPrefix(const SYSTEMTIME& time, DWORD pid, DWORD tid, const std::wstring& tag);

}  // namespace ipc
