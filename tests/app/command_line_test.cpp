#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/start_source.h"
#include "tests/support/temp_dir.h"

using app::CCommandLine;

namespace {

struct Parsed {
  std::map<std::wstring, std::wstring> switches;
  std::vector<std::wstring> arguments;
};

Parsed ParseLine(const std::wstring& raw) {
  CCommandLine line;
  line.Parse(raw);
  Parsed p{line.switches(), {}};
  line.GetArguments(p.arguments);
  EXPECT_EQ(line.GetRawLine(), raw);
  return p;
}

}  // namespace

TEST(CommandLine, Tokenising) {
  using Map = std::map<std::wstring, std::wstring>;
  using List = std::vector<std::wstring>;
  struct Case {
    const wchar_t* raw;
    Map switches;
    List arguments;
  };
  const Case cases[] = {
      {L"\"C:\\My Pictures\\a b.jpg\"", {}, {L"\"C:\\My Pictures\\a b.jpg\""}},
      {L"--from=tray --setting", {{L"from", L"tray"}, {L"setting", L""}}, {}},
      {L"/install", {{L"install", L""}}, {}},
      {L"/-x=1", {{L"x", L"1"}}, {}},
      {L"-a --b /c", {{L"a", L""}, {L"b", L""}, {L"c", L""}}, {}},
      {L"--name=\"two words\"", {{L"name", L"two words"}}, {}},
      {L"--name=a\"b\"", {{L"name", L"a\"b\""}}, {}},
      {L"--name=\"", {{L"name", L""}}, {}},
      {L"--name=", {{L"name", L""}}, {}},
      {L"--name=a=b", {{L"name", L"a=b"}}, {}},
      {L"--x=1 --x=2", {{L"x", L"2"}}, {}},
      {L"- /", {}, {L"-", L"/"}},
      {L"-- /- file", {}, {L"file"}},
      {L"   lots   of    spaces  ", {}, {L"lots", L"of", L"spaces"}},
      {L"\tx", {}, {L"\tx"}},
      {L"\"a \\\" b\" c", {}, {L"\"a \\\" b\"", L"c"}},
      {L"\"unterminated quote and more", {}, {L"\"unterminated quote and more"}},
      {L"图片.jpg --from=桌面", {{L"from", L"桌面"}}, {L"图片.jpg"}},
      {L"", {}, {}},
  };
  for (const Case& c : cases) {
    const Parsed p = ParseLine(c.raw);
    EXPECT_EQ(p.switches, c.switches) << testing::PrintToString(std::wstring(c.raw));
    EXPECT_EQ(p.arguments, c.arguments) << testing::PrintToString(std::wstring(c.raw));
  }
}

TEST(CommandLine, SwitchQueriesIgnoreThePrefixButNotTheCase) {
  CCommandLine line;
  line.Parse(L"--LockscreenSet --from=tray");
  for (const wchar_t* query : {L"LockscreenSet", L"--LockscreenSet", L"-LockscreenSet", L"/LockscreenSet"})
    EXPECT_TRUE(line.HasSwitch(query)) << query;
  EXPECT_FALSE(line.HasSwitch(L"lockscreenset"));
  EXPECT_FALSE(line.HasSwitch(L"--"));
  EXPECT_FALSE(line.HasSwitch(L""));
  std::wstring value = L"stale";
  EXPECT_TRUE(line.GetSwitchValue(L"/from", value));
  EXPECT_EQ(value, L"tray");
  EXPECT_FALSE(line.GetSwitchValue(L"missing", value));
  EXPECT_TRUE(value.empty());

  CCommandLine lower;
  lower.Parse(L"--lockscreenset");
  EXPECT_FALSE(lower.HasSwitch(L"LockscreenSet"));
}

TEST(CommandLine, FileToOpenIsTheFirstExistingNonProgramArgument) {
  test_support::TempDir dir;
  const std::wstring picture = dir.File(L"照片 1.jpg");
  const std::wstring program = dir.File(L"tool.exe");
  const std::wstring upper = dir.File(L"TOOL2.EXE");
  const std::wstring bare = dir.File(L"noext");
  for (const std::wstring& f : {picture, program, upper, bare}) {
    HANDLE h = CreateFileW(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
  }
  struct Case {
    std::wstring raw;
    std::wstring expected;
  };
  const Case cases[] = {
      {L"\"" + picture + L"\"", picture},
      {L"\"" + program + L"\" \"" + picture + L"\"", picture},
      {L"\"" + upper + L"\" \"" + picture + L"\"", upper},  // only exactly ".exe" is skipped
      {L"\"" + dir.File(L"missing.jpg") + L"\" " + bare, bare},
      {L"--from=tray", L""},
      {L"\"" + dir.File(L"missing.jpg") + L"\"", L""},
  };
  for (const Case& c : cases) {
    CCommandLine line;
    line.Parse(c.raw);
    EXPECT_EQ(line.GetFileToOpen(), c.expected) << testing::PrintToString(c.raw);
  }
}

TEST(StartSource, StatisticNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"task", "auto"},         {"reg_run", "auto_reg"}, {"svc", "svc"},     {"startmenu", "menu"},
      {"main", "main"},         {"desktop", "lnk"},      {"tray", "tray"},   {"newinstall", "newinstall"},
      {"upinstall", "upinstall"}, {"contextmenu", "contextmenu"}, {"openwith", "shell"}, {"Tray", "unknown"},
      {"", "unknown"},          {"tray ", "unknown"},
  };
  for (const auto& [from, name] : cases) EXPECT_EQ(app::StartSourceStat(from), name) << from;
}
