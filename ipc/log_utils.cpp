#include "ipc/log_utils.h"

#include <cwchar>
#include <cwctype>

namespace ipc {
namespace {

std::wstring Lower(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& ch : out) ch = static_cast<wchar_t>(std::towlower(ch));
  return out;
}

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// One name for every process that writes the same file.
std::wstring MutexNameFor(const std::wstring& path) {
  std::uint64_t hash = 1469598103934665603ull;
  for (wchar_t ch : Lower(path)) hash = (hash ^ static_cast<std::uint16_t>(ch)) * 1099511628211ull;
  wchar_t name[64];
  swprintf(name, 64, L"Local\\VistromaLogUtils-%016llx", static_cast<unsigned long long>(hash));
  return name;
}

std::wstring SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring out = text ? text : L"";
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == L'\n' || out.back() == L'\r')) out.pop_back();
  return out;
}

}  // namespace

std::wstring LogUtilsPrefix(const SYSTEMTIME& t, DWORD pid, DWORD tid, const std::wstring& tag) {
  wchar_t prefix[160];
  if (tag.empty())
    swprintf(prefix, 160, L"%02d-%02d %02d:%02d:%02d.%03d [%5d][%5d]", t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond,
             t.wMilliseconds, static_cast<int>(pid), static_cast<int>(tid));
  else
    swprintf(prefix, 160, L"%02d-%02d %02d:%02d:%02d.%03d [%5d][%5d][%ls]", t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond, t.wMilliseconds, static_cast<int>(pid), static_cast<int>(tid), tag.c_str());
  return prefix;
}

LoggerImpl& LoggerImpl::Get() {
  static LoggerImpl logger;  // thread-safe first use
  return logger;
}

LoggerImpl::~LoggerImpl() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

bool LoggerImpl::IsEnabled(int level) const {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  return level >= threshold_;
}

int LoggerImpl::threshold() const {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  return threshold_;
}

bool LoggerImpl::SwitchFileExists() const {
  return !path_.empty() && GetFileAttributesW((path_ + L".on").c_str()) != INVALID_FILE_ATTRIBUTES;
}

void LoggerImpl::Initialise(const std::wstring& path, const std::wstring& tag, bool verbose, bool stop_when_full,
                            std::uint64_t size_limit) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  path_ = path;
  tag_ = tag;
  size_limit_ = size_limit;
  stop_when_full_ = stop_when_full;
  initialised_ = true;
  threshold_ = verbose ? 1 : 3;
  if (SwitchFileExists()) {
    threshold_ = 0;
    level_pinned_ = verbose;
  }
  if (IsEnabled(1)) Marker(L"-------log start");
}

void LoggerImpl::SetLevel(int level) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  if (level_pinned_) return;
  if (initialised_) {
    if (threshold_ <= 1) Marker(level == 3 ? L"-------log off" : L"-------log lev change");
    else if (level <= 1) Marker(L"-------log lev change");
  }
  threshold_ = level;
}

void LoggerImpl::HandleCommand(std::wstring_view text) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  const std::wstring lower = Lower(text);
  for (int level = 0; level <= 3; ++level)
    if (lower.find(L"--set_log_lev=" + std::to_wstring(level)) != std::wstring::npos) {
      SetLevel(level);
      return;
    }
  if (lower.find(L"--reload_log_switch") != std::wstring::npos) {
    threshold_ = 3;
    if (SwitchFileExists()) threshold_ = 0;
    Marker(L"-------log reload switch");
  }
}

void LoggerImpl::Reset() {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  if (file_ != INVALID_HANDLE_VALUE) {
    SetFilePointer(file_, 0, nullptr, FILE_BEGIN);
    SetEndOfFile(file_);
  } else if (!path_.empty()) {
    HANDLE h = CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, TRUNCATE_EXISTING,
                           0, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  if (IsEnabled(1)) Marker(L"-------log reset");
}

void LoggerImpl::End() {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  if (IsEnabled(1)) Marker(L"-------log end");
  threshold_ = 3;
}

void LoggerImpl::Log(int level, const std::wstring& text) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  if (!initialised_ || level < threshold_) return;
  Append(text);
}

void LoggerImpl::Marker(const std::wstring& text) {
  if (initialised_) Append(text);
}

void LoggerImpl::Append(const std::wstring& text) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  queue_.push_back(ToAnsi(LogUtilsPrefix(now, GetCurrentProcessId(), GetCurrentThreadId(), tag_) + text) + "\r\n");
  Flush();
}

void LoggerImpl::Flush() {
  if (file_ == INVALID_HANDLE_VALUE) {
    file_ = CreateFileW(path_.c_str(), FILE_APPEND_DATA | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) {
      OutputDebugStringW((L"open " + path_ + L" error. [" + std::to_wstring(GetLastError()) + L"]\r\n").c_str());
      queue_.clear();
      return;
    }
  }
  HANDLE mutex = CreateMutexW(nullptr, FALSE, MutexNameFor(path_).c_str());
  if (mutex) WaitForSingleObject(mutex, 5000);
  for (const std::string& line : queue_) {
    SetFilePointer(file_, 0, nullptr, FILE_END);  // other processes append too
    DWORD written = 0;
    WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }
  queue_.clear();
  LARGE_INTEGER size{};
  GetFileSizeEx(file_, &size);
  if (mutex) {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
  }
  if (static_cast<std::uint64_t>(size.QuadPart) <= size_limit_ || handling_full_) return;
  // The marker lines below pass through here again; they must not start this again.
  handling_full_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{handling_full_};
  if (stop_when_full_) {
    Append(L"-------log full");
    threshold_ = 3;
    return;
  }
  SetFilePointer(file_, 0, nullptr, FILE_BEGIN);
  if (SetEndOfFile(file_)) {
    Append(L"-------log full reset");
  } else {
    const DWORD error = GetLastError();
    Append(L"-------log full reset failed. " + std::to_wstring(error) + L":" + SystemMessage(error));
  }
}

}  // namespace ipc
