// The crash filter with real processes: a program crashes on a worker thread, the uploader writes a dump
// of it, and nothing installed later takes the crash away.
#include <windows.h>
#include <dbghelp.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/crash_report.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"
#include "tests/support/viewer_process.h"

using namespace std::chrono_literals;

namespace {

std::wstring NewestDump(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"vistroma-*.dmp").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return {};
  std::wstring newest;
  do {
    if (newest.empty() || std::wstring(found.cFileName) > newest) newest = found.cFileName;
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return folder + newest;
}

// The thread id and code of the exception a dump records; 0 when it holds none.
std::pair<DWORD, DWORD> DumpedException(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {0, 0};
  HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
  std::pair<DWORD, DWORD> result{0, 0};
  MINIDUMP_DIRECTORY* entry = nullptr;
  void* stream = nullptr;
  ULONG size = 0;
  if (view && MiniDumpReadDumpStream(view, ExceptionStream, &entry, &stream, &size) && size >= sizeof(MINIDUMP_EXCEPTION_STREAM)) {
    const auto* exception = static_cast<const MINIDUMP_EXCEPTION_STREAM*>(stream);
    result = {exception->ThreadId, exception->ExceptionRecord.ExceptionCode};
  }
  if (view) UnmapViewOfFile(view);
  if (mapping) CloseHandle(mapping);
  CloseHandle(file);
  return result;
}

}  // namespace

TEST(CrashReport, UploaderPlacesAndParameters) {
  const auto candidates = app::UploaderCandidates(L"C:\\Program Files\\Vistroma\\bin\\");
  const std::vector<std::wstring> expected{
      L"C:\\Program Files\\Vistroma\\bin\\Kestrun.exe", L"C:\\Program Files\\Vistroma\\bin\\Utils\\Kestrun.exe",
      L"C:\\Program Files\\Vistroma\\Kestrun.exe", L"C:\\Program Files\\Vistroma\\Utils\\Kestrun.exe",
      L"C:\\Program Files\\Kestrun.exe"};
  EXPECT_EQ(candidates, expected);
  EXPECT_EQ(app::CrashParameters(18446744073709551615ull, 12, 34, L"vistromamain", L"1.0.0.1", 0),
            L"--pep=18446744073709551615 --pid=12 --tid=34 --src=vistromamain --ver=1.0.0.1 --rep=0");

  test_support::TempDir dir;
  const std::wstring bin = dir.File(L"bin\\");
  CreateDirectoryW(bin.c_str(), nullptr);
  CreateDirectoryW((bin + L"Utils").c_str(), nullptr);
  const auto places = app::UploaderCandidates(bin);
  EXPECT_EQ(app::ChooseUploader(places), places.back()) << "none there: the last place";
  CopyFileW((test_support::DistDirectory() + L"Kestrun.exe").c_str(), (bin + L"Utils\\Kestrun.exe").c_str(), FALSE);
  EXPECT_EQ(app::ChooseUploader(places), bin + L"Utils\\Kestrun.exe");
  CopyFileW((test_support::DistDirectory() + L"Kestrun.exe").c_str(), (bin + L"Kestrun.exe").c_str(), FALSE);
  EXPECT_EQ(app::ChooseUploader(places), bin + L"Kestrun.exe");

  EXPECT_EQ(app::ModuleFileVersion(test_support::DistDirectory() + L"Vistroma.exe"), L"1.0.0.1");
  EXPECT_EQ(app::ModuleFileVersion(test_support::DistDirectory() + L"resources\\res.zip"), L"");
}

TEST(CrashReport, ACrashOnAWorkerLeavesADumpNamingThatThread) {
  const std::wstring crash = test_support::ViewerDataFolder() + L"temp\\crash\\";
  test_support::RemoveTree(test_support::ViewerDataFolder());
  test_support::TempDir install(L"crash");
  ASSERT_TRUE(CopyFileW((test_support::TestBinDirectory() + L"crasher.exe").c_str(), install.File(L"crasher.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((test_support::DistDirectory() + L"Kestrun.exe").c_str(), install.File(L"Kestrun.exe").c_str(), FALSE));

  test_support::ViewerProcess crasher;
  ASSERT_TRUE(crasher.Start(install.File(L"crasher.exe"), L""));
  const auto code = crasher.WaitExit(60s);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0xC0000005u) << "the filter let the process end with the access violation";

  std::string line(128, '\0');
  if (FILE* f = _wfopen(install.File(L"crasher.txt").c_str(), L"r")) {
    line.resize(fread(line.data(), 1, line.size() - 1, f));
    fclose(f);
  }
  long installed = -1;
  int previous = -1;
  unsigned long tid = 0;
  ASSERT_EQ(sscanf(line.c_str(), "install=%ld previous=%d tid=%lu", &installed, &previous, &tid), 3) << line;
  EXPECT_EQ(installed, 0) << "S_OK";
  EXPECT_EQ(previous, 0) << "a later SetUnhandledExceptionFilter returned null";

  const std::wstring dump = NewestDump(crash);
  ASSERT_FALSE(dump.empty()) << "a dump in the crash folder";
  const auto [thread, exception_code] = DumpedException(dump);
  EXPECT_EQ(thread, tid) << "--tid named the worker";
  EXPECT_EQ(exception_code, 0xC0000005u);
  test_support::RemoveTree(test_support::ViewerDataFolder());
}
