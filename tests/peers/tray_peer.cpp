// A stand-in for the tray process in tests: holds the tray's mutex as the real one does, records each
// command line it was started with in tray_launches.txt beside itself, and waits to be ended (or for the
// event "VistromaTrayPeerStop", or 60 seconds, so it never outlives a test run).
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring record = self;
  record = record.substr(0, record.find_last_of(L'\\') + 1) + L"tray_launches.txt";
  HANDLE file = CreateFileW(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    const std::wstring line = std::wstring(command_line) + L"\n";
    const int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), n, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
  }
  // Taken after the record is written: tests read the record as soon as they see the mutex.
  HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Global\\ZtTray-95745a12eeaa410d");
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, L"VistromaTrayPeerStop");
  WaitForSingleObject(stop, 60000);
  CloseHandle(stop);
  CloseHandle(mutex);
  return 0;
}
