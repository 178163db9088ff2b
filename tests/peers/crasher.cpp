// A program that crashes on a worker thread after installing the viewer's crash filter, for the test that
// watches a dump appear. It records in crasher.txt beside itself what the filter's installation gave,
// what a later SetUnhandledExceptionFilter call returned, and the id of the thread that crashes.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/crash_report.h"

namespace {

LONG WINAPI OtherFilter(EXCEPTION_POINTERS*) {
  // Never called when the viewer's filter holds: the crash would then end without a dump.
  return EXCEPTION_CONTINUE_SEARCH;
}

std::wstring Record() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"crasher.txt";
}

DWORD WINAPI Crash(void*) {
  *static_cast<volatile int*>(nullptr) = 1;
  return 0;
}

}  // namespace

int wmain() {
  const HRESULT installed = app::InstallCrashFilter();
  app::SetCrashReportInfo(L"vistromamain", 0);
  const LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(OtherFilter);
  DWORD tid = 0;
  HANDLE worker = CreateThread(nullptr, 0, Crash, nullptr, CREATE_SUSPENDED, &tid);
  if (FILE* f = _wfopen(Record().c_str(), L"w")) {
    fprintf(f, "install=%ld previous=%d tid=%lu\n", static_cast<long>(installed), previous == nullptr ? 0 : 1,
            static_cast<unsigned long>(tid));
    fclose(f);
  }
  ResumeThread(worker);
  WaitForSingleObject(worker, 30000);
  return 7;  // not reached: the crash ends the process
}
