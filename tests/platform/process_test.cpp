// A second Wine process sees a named mutex of this one while it exists, and not after it is closed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "basic_lib/scoped_handle.h"
#include "tests/support/test_paths.h"

namespace {

// Runs platform_probe.exe with the arguments and returns its exit code, or -1 when it did not run or end.
int RunProbe(const std::wstring& arguments) {
  const std::wstring exe = test_support::TestBinDirectory() + L"platform_probe.exe";
  std::wstring command = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  basic_lib::ScopedKernelHandle process(pi.hProcess), thread(pi.hThread);
  if (WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 99);
    return -1;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  return static_cast<int>(code);
}

}  // namespace

TEST(CrossProcess, SecondProcessFindsNamedMutexOnlyWhileItExists) {
  const std::wstring name = L"Local\\VistromaProbe-" + std::to_wstring(GetCurrentProcessId());
  basic_lib::ScopedKernelHandle mutex(CreateMutexW(nullptr, TRUE, name.c_str()));
  ASSERT_TRUE(mutex);
  ASSERT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));

  EXPECT_EQ(RunProbe(L"mutex-exists " + name), 0);
  mutex.reset();
  EXPECT_EQ(RunProbe(L"mutex-exists " + name), 3);
  EXPECT_EQ(RunProbe(L"no-such-question"), 2);
}
