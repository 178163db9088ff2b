#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/files.h"
#include "app/my_log.h"
#include "tests/support/temp_dir.h"

TEST(Log, SourcePosition) {
  const std::tuple<const char*, int, const wchar_t*> cases[] = {
      {"C:\\src\\app\\app_config.cpp", 16, L"[  16][app_config] "},
      {"/work/main/main_view/tormavedlg.cpp", 1234, L"[1234][tormavedlg] "},
      {"archive.tar.gz", 3, L"[   3][archive.tar] "},
      {"noext", 5, L"[   5] "},
      {"dir.d\\file", 7, L"[   7] "},
      {".hidden", 8, L"[   8] "},
      {"", 12345, L"[12345] "},
  };
  for (const auto& [path, line, expected] : cases) EXPECT_EQ(app::LogSourcePosition(path, line), expected) << path;
}

TEST(Log, NothingIsWrittenWithoutTheSwitchFile) {
  test_support::TempDir dir;
  app::CMyLog& log = app::CMyLog::Get();
  log.OpenIn(dir.path());
  EXPECT_FALSE(log.is_open());
  VLOG_INFO << L"nowhere";
  EXPECT_EQ(GetFileAttributesW(dir.File(L"main.log").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Log, LinesFromTwoThreadsStayWhole) {
  test_support::TempDir dir;
  HANDLE on = CreateFileW(dir.File(L"main.log.on").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(on, INVALID_HANDLE_VALUE);
  CloseHandle(on);
  app::CMyLog& log = app::CMyLog::Get();
  log.OpenIn(dir.path());
  ASSERT_TRUE(log.is_open());

  app::CMyLog::Line(log, L'I', "C:\\src\\app_config.cpp", 16) << L"CAppConfig:" << L"C:\\用户\\config.ini";
  const auto writer = [&log](const wchar_t* who) {
    for (int i = 0; i < 400; ++i) app::CMyLog::Line(log, L'I', __FILE__, __LINE__) << who << L" line " << i << L" end";
  };
  std::thread a(writer, L"alpha"), b(writer, L"beta");
  a.join();
  b.join();

  std::istringstream lines(test_support::ReadText(dir.File(L"main.log")));
  std::string line;
  ASSERT_TRUE(std::getline(lines, line));
  EXPECT_EQ(line, "[I][  16][app_config] CAppConfig:C:\\\xE7\x94\xA8\xE6\x88\xB7\\config.ini");
  const std::regex whole(R"(\[I\]\[ *\d+\]\[log_test\] (alpha|beta) line \d+ end)");
  int count = 0;
  while (std::getline(lines, line)) {
    EXPECT_TRUE(std::regex_match(line, whole)) << line;
    ++count;
  }
  EXPECT_EQ(count, 800);
}
