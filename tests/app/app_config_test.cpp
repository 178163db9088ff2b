// The settings file through the real profile functions: what loads, what normalises, what a save writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/app_config.h"
#include "tests/support/temp_dir.h"

using app::CAppConfig;

namespace {

std::wstring ReadKey(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
  wchar_t buffer[512] = {};
  GetPrivateProfileStringW(section, key, L"\n", buffer, 512, file.c_str());
  return buffer;
}

bool SectionExists(const std::wstring& file, const wchar_t* section) {
  wchar_t buffer[512] = {};
  return GetPrivateProfileSectionW(section, buffer, 512, file.c_str()) > 0;
}

class AppConfigTest : public ::testing::Test {
 protected:
  void Set(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    WritePrivateProfileStringW(section, key, value, file_.c_str());
  }
  test_support::TempDir dir_;
  std::wstring file_ = dir_.File(L"config.ini");
};

}  // namespace

TEST_F(AppConfigTest, DefaultsWithoutAFile) {
  CAppConfig c(file_);
  EXPECT_EQ(c.max_zoom_ratio, 8);
  EXPECT_EQ(c.view_margin, 24);
  EXPECT_EQ(c.canvas_back_color, RGB(39, 39, 39));
  EXPECT_EQ(c.toolbar_dock, 1);
  EXPECT_EQ(c.mouse_wheel_action, 99);
  EXPECT_EQ(c.show_wheel_favorite, 1);
  EXPECT_EQ(c.save_jpeg_quality, 80);
  EXPECT_EQ(c.preload_enable, 1);
  EXPECT_EQ(c.default_viewer_start_tip, 1);
  EXPECT_EQ(c.lockscreen_time, 210);
  EXPECT_EQ(c.quick_indexes, 1);
  EXPECT_EQ(c.fit_state, 1);
  EXPECT_TRUE(c.last_position.empty());
  EXPECT_NE(c.canvas_brush(), nullptr);
  EXPECT_EQ(c.ReadSnipHotkey(), 0);
}

TEST_F(AppConfigTest, ValuesAreNormalisedOnLoad) {
  struct Case {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* value;
    int CAppConfig::*member;
    int expected;
  };
  const Case cases[] = {
      {L"app", L"max_zoom_ratio", L"100", &CAppConfig::max_zoom_ratio, 32},
      {L"app", L"max_zoom_ratio", L"0", &CAppConfig::max_zoom_ratio, 4},
      {L"app", L"max_zoom_ratio", L"5", &CAppConfig::max_zoom_ratio, 5},
      {L"app", L"max_zoom_ratio", L"x", &CAppConfig::max_zoom_ratio, 4},
      {L"app", L"max_zoom_ratio", L"", &CAppConfig::max_zoom_ratio, 8},  // empty: the default stays
      {L"app", L"view_margin", L"-3", &CAppConfig::view_margin, 0},
      {L"app", L"view_margin", L"64", &CAppConfig::view_margin, 64},
      {L"app", L"save_jpeg_quality", L"150", &CAppConfig::save_jpeg_quality, 100},
      {L"app", L"hardware_zoom", L"7", &CAppConfig::hardware_zoom, 1},
      {L"app", L"toolbar_dock", L"0", &CAppConfig::toolbar_dock, 0},
      {L"app", L"only_one_instance", L"4294967296", &CAppConfig::only_one_instance, 1},
      {L"lockscreen", L"enable", L"2", &CAppConfig::lockscreen_enable, 0},
      {L"lockscreen", L"enable", L"1", &CAppConfig::lockscreen_enable, 1},
      {L"lockscreen", L"time", L"-30", &CAppConfig::lockscreen_time, -30},
      {L"lockscreen", L"user_changed_time", L"9", &CAppConfig::lockscreen_user_changed_time, 1},
  };
  for (const Case& c : cases) {
    DeleteFileW(file_.c_str());
    Set(c.section, c.key, c.value);
    CAppConfig config(file_);
    EXPECT_EQ(config.*c.member, c.expected) << c.key << "=" << testing::PrintToString(std::wstring(c.value));
  }
}

TEST_F(AppConfigTest, WheelActionAndCanvasColour) {
  struct Case {
    const wchar_t* action;
    const wchar_t* favourite;  // null: absent
    int expected;
  };
  for (const Case& c : {Case{L"5", L"0", 1}, Case{L"0", L"0", 0}, Case{L"99", L"0", 99}, Case{L"0", L"1", 99},
                        Case{L"1", nullptr, 99}}) {
    DeleteFileW(file_.c_str());
    Set(L"app", L"mouse_wheel_action", c.action);
    if (c.favourite) Set(L"app", L"show_wheel_favorite", c.favourite);
    CAppConfig config(file_);
    EXPECT_EQ(config.mouse_wheel_action, c.expected) << c.action;
    // The wheel keys alone read again by the same rules.
    Set(L"app", L"show_wheel_favorite", L"0");
    Set(L"app", L"mouse_wheel_action", L"3");
    config.ReloadWheelKeys();
    EXPECT_EQ(config.mouse_wheel_action, 1);
  }
  const std::pair<const wchar_t*, COLORREF> colours[] = {
      {L"10,20,30", RGB(10, 20, 30)}, {L"300,0,0", RGB(44, 0, 0)}, {L"10,20", RGB(39, 39, 39)}, {L"a,b,c", RGB(0, 0, 0)}};
  for (const auto& [text, expected] : colours) {
    Set(L"app", L"canvas_back_color", text);
    EXPECT_EQ(CAppConfig(file_).canvas_back_color, expected) << text;
  }
}

TEST_F(AppConfigTest, LongTextValuesAreReadWhole) {
  // Cut at 255 characters it would be one field, and the default would stay.
  const std::wstring long_colour = std::wstring(290, L'0') + L"10,20,30";
  Set(L"app", L"canvas_back_color", long_colour.c_str());
  EXPECT_EQ(CAppConfig(file_).canvas_back_color, RGB(10, 20, 30));
  Set(L"Default", L"sniptool_hotkey", L"1089");
  EXPECT_EQ(CAppConfig(file_).ReadSnipHotkey(), 1089);
}

TEST_F(AppConfigTest, SaveWritesEveryKeyAndLeavesTheLockScreenAlone) {
  Set(L"app", L"max_zoom_ratio", L"12");
  {
    CAppConfig config(file_);
    config.save_jpeg_quality = 95;
    config.last_position = L"MAX";
    config.Save();
  }
  EXPECT_EQ(ReadKey(file_, L"app", L"max_zoom_ratio"), L"12");
  EXPECT_EQ(ReadKey(file_, L"app", L"save_jpeg_quality"), L"95");
  EXPECT_EQ(ReadKey(file_, L"app", L"last_position"), L"MAX");
  EXPECT_EQ(ReadKey(file_, L"app", L"canvas_back_color"), L"39,39,39");
  EXPECT_EQ(ReadKey(file_, L"app", L"preload_thread"), L"3");
  EXPECT_EQ(ReadKey(file_, L"app", L"mouse_wheel_action"), L"99");
  EXPECT_FALSE(SectionExists(file_, L"lockscreen")) << "nothing changed there: nothing written";
  // last_position is written but never read back.
  EXPECT_TRUE(CAppConfig(file_).last_position.empty());

  // The installer's values stay as they were when the user changed nothing.
  Set(L"lockscreen", L"enable", L"1");
  Set(L"lockscreen", L"time", L"60");
  {
    CAppConfig config(file_);
    config.Save();
  }
  EXPECT_EQ(ReadKey(file_, L"lockscreen", L"user_changed_setting"), L"\n");
  EXPECT_EQ(ReadKey(file_, L"lockscreen", L"default_opt_time"), L"\n");
}

TEST_F(AppConfigTest, SaveWritesTheLockScreenWhenItChanged) {
  Set(L"lockscreen", L"time", L"60");
  {
    CAppConfig config(file_);
    config.lockscreen_time = 30;
    config.Save();
  }
  EXPECT_EQ(ReadKey(file_, L"lockscreen", L"time"), L"30");
  EXPECT_EQ(ReadKey(file_, L"lockscreen", L"enable"), L"0");
  EXPECT_EQ(ReadKey(file_, L"lockscreen", L"user_changed_setting"), L"1");
  EXPECT_EQ(ReadKey(file_, L"lockscreen", L"default_opt_time"), L"210");

  // Once the user changed it, every save writes it.
  Set(L"lockscreen", L"time", L"45");
  {
    CAppConfig config(file_);
    config.lockscreen_time = 45;  // unchanged since the load
    config.lockscreen_user_changed_time = 1;
    config.Save();
  }
  EXPECT_EQ(ReadKey(file_, L"lockscreen", L"user_changed_time"), L"1");
}

TEST_F(AppConfigTest, WindowPlacementRoundTrip) {
  HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 120, 80, 900, 640, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  CAppConfig config(file_);
  config.last_position = L"100_50_900_650";
  config.ApplyStartPlacement(w);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right - r.left, 800);
  EXPECT_EQ(r.bottom - r.top, 600);
  config.CaptureWindowPlacement(w);
  EXPECT_EQ(config.last_position, L"100_50_900_650");
  config.last_position = L"MAX";
  config.ApplyStartPlacement(w);
  EXPECT_TRUE(IsZoomed(w));
  config.CaptureWindowPlacement(w);
  EXPECT_EQ(config.last_position, L"MAX");
  DestroyWindow(w);
}
