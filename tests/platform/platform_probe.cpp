// Helper process for the cross-process tests: answers one question through its exit code.
//   platform_probe mutex-exists NAME   0 found, 3 no such mutex, 4 another error, 2 bad command line
#include <windows.h>

#include <cwchar>

namespace {

int MutexExists(const wchar_t* name) {
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, name);
  if (mutex) {
    CloseHandle(mutex);
    return 0;
  }
  return GetLastError() == ERROR_FILE_NOT_FOUND ? 3 : 4;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wcscmp(argv[1], L"mutex-exists") == 0) return MutexExists(argv[2]);
  return 2;
}
