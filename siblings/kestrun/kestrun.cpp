// Kestrun.exe as this installation ships it: the crash uploader, minus the upload. Started by a crashing
// viewer with "--pep= --pid= --tid= --src= --ver= --rep=", it writes a minidump of that process, with the
// exception as the crashing thread saw it, into %APPDATA%\Vistroma\temp\crash\ and ends. It sends nothing.
#include <windows.h>
#include <dbghelp.h>
#include <shlobj.h>

#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

// The value of "--name=" in the command line, up to the next space; empty when absent.
std::wstring Argument(const wchar_t* line, const wchar_t* name) {
  const std::wstring key = std::wstring(L"--") + name + L"=";
  const wchar_t* at = wcsstr(line, key.c_str());
  if (!at) return {};
  at += key.size();
  const wchar_t* end = at;
  while (*end && *end != L' ') ++end;
  return std::wstring(at, end);
}

std::wstring CrashFolder() {
  wchar_t appdata[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appdata))) return {};
  std::wstring folder = std::wstring(appdata) + L"\\Vistroma\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  CreateDirectoryW((folder + L"temp\\").c_str(), nullptr);
  folder += L"temp\\crash\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR line, int) {
  const unsigned long long pointers = wcstoull(Argument(line, L"pep").c_str(), nullptr, 10);
  const DWORD pid = static_cast<DWORD>(wcstoul(Argument(line, L"pid").c_str(), nullptr, 10));
  const DWORD tid = static_cast<DWORD>(wcstoul(Argument(line, L"tid").c_str(), nullptr, 10));
  if (!pid) return 2;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_DUP_HANDLE, FALSE, pid);
  if (!process) return 3;
  const std::wstring folder = CrashFolder();
  // A name of fixed-width time fields sorts by time in logical order too.
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t name[96];
  swprintf(name, 96, L"vistroma-%04d%02d%02d-%02d%02d%02d-%03d-%lu.dmp", now.wYear, now.wMonth, now.wDay, now.wHour,
           now.wMinute, now.wSecond, now.wMilliseconds, static_cast<unsigned long>(pid));
  HANDLE file = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    CloseHandle(process);
    return 4;
  }
  MINIDUMP_EXCEPTION_INFORMATION exception{};
  exception.ThreadId = tid;
  exception.ExceptionPointers = reinterpret_cast<EXCEPTION_POINTERS*>(static_cast<ULONG_PTR>(pointers));
  exception.ClientPointers = TRUE;  // the address lies in the crashing process
  const BOOL written = MiniDumpWriteDump(process, pid, file, MiniDumpNormal, pointers ? &exception : nullptr, nullptr,
                                         nullptr);
  CloseHandle(file);
  CloseHandle(process);
  if (!written) DeleteFileW((folder + name).c_str());
  return written ? 0 : 5;
}
