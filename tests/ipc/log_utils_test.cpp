#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/files.h"
#include "ipc/log_utils.h"
#include "tests/support/temp_dir.h"

using ipc::LoggerImpl;

namespace {


size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}


}  // namespace

TEST(LogUtils, SilentUntilInitialised) {
  LoggerImpl& logger = LoggerImpl::Get();
  EXPECT_FALSE(logger.IsEnabled(1));
  EXPECT_TRUE(logger.IsEnabled(3));
  logger.Log(3, L"goes nowhere");  // no file yet: nothing to write to
  EXPECT_EQ(logger.threshold(), 3);
}

TEST(LogUtils, Prefix) {
  SYSTEMTIME t{};
  t.wMonth = 3, t.wDay = 7, t.wHour = 9, t.wMinute = 5, t.wSecond = 2, t.wMilliseconds = 41;
  EXPECT_EQ(ipc::LogUtilsPrefix(t, 42, 1234, L""), L"03-07 09:05:02.041 [   42][ 1234]");
  EXPECT_EQ(ipc::LogUtilsPrefix(t, 42, 1234, L"ipc"), L"03-07 09:05:02.041 [   42][ 1234][ipc]");
}

TEST(LogUtils, ThresholdsSwitchFileAndMarkers) {
  test_support::TempDir dir;
  const std::wstring path = dir.File(L"ipc.log");
  {
    LoggerImpl quiet;
    quiet.Initialise(path, L"", false, false);
    EXPECT_EQ(quiet.threshold(), 3);
    quiet.Log(1, L"below the threshold");
    EXPECT_EQ(test_support::ReadText(path).find("below"), std::string::npos);
    quiet.SetLevel(1);  // from above 1 to 1 or less: a marker
    quiet.Log(1, L"now written");
    quiet.SetLevel(2);  // at 1, to anything but 3
    quiet.SetLevel(3);  // at 2: to 3 is no marker
    quiet.SetLevel(0);
    quiet.SetLevel(3);  // at 0, to 3: "log off"
    quiet.HandleCommand(L"xx --SET_LOG_LEV=1 yy");
    EXPECT_EQ(quiet.threshold(), 1);
    quiet.HandleCommand(L"--reload_log_switch");
    EXPECT_EQ(quiet.threshold(), 3);
    quiet.HandleCommand(L"--set_log_lev=9");
    EXPECT_EQ(quiet.threshold(), 3);
  }
  const std::string text = test_support::ReadText(path);
  EXPECT_EQ(Count(text, "-------log start"), 0u);
  EXPECT_EQ(Count(text, "now written"), 1u);
  EXPECT_EQ(Count(text, "-------log lev change"), 4u);
  EXPECT_EQ(Count(text, "-------log off"), 1u);
  EXPECT_EQ(Count(text, "-------log reload switch"), 1u);

  // A switch file beside the log opens it fully; verbose pins the level.
  test_support::Touch(path + L".on");
  LoggerImpl pinned;
  pinned.Initialise(path, L"tag", true, false);
  EXPECT_EQ(pinned.threshold(), 0);
  pinned.SetLevel(3);
  EXPECT_EQ(pinned.threshold(), 0);
  pinned.HandleCommand(L"--reload_log_switch");
  EXPECT_EQ(pinned.threshold(), 0);
  pinned.End();
  EXPECT_EQ(pinned.threshold(), 3);
  const std::string after = test_support::ReadText(path);
  EXPECT_EQ(Count(after, "][tag]-------log start"), 1u);
  EXPECT_EQ(Count(after, "-------log end"), 1u);
}

TEST(LogUtils, AFullFileIsEmptiedOrStopsTheLog) {
  test_support::TempDir dir;
  {
    const std::wstring path = dir.File(L"reset.log");
    LoggerImpl logger;
    logger.Initialise(path, L"", true, false, 300);
    for (int i = 0; i < 20; ++i) logger.Log(1, L"line number " + std::to_wstring(i));
    const std::string text = test_support::ReadText(path);
    EXPECT_LE(text.size(), 300u);
    EXPECT_GE(Count(text, "-------log full reset"), 1u);
    EXPECT_EQ(Count(text, "line number 19"), 1u) << "lines go on after the reset";
  }
  {
    const std::wstring path = dir.File(L"stop.log");
    LoggerImpl logger;
    logger.Initialise(path, L"", true, true, 300);
    for (int i = 0; i < 20; ++i) logger.Log(1, L"line number " + std::to_wstring(i));
    EXPECT_EQ(logger.threshold(), 3);
    const std::string text = test_support::ReadText(path);
    EXPECT_EQ(Count(text, "-------log full"), 1u);
    EXPECT_EQ(Count(text, "line number 19"), 0u) << "stopped when full";
  }
}
