// The real viewer on the display, started and driven from outside as a user would drive it: what its
// title says, what its view shows (captured from the screen), how keys, clicks, drags and the wheel move
// through pictures, and what it writes when it closes. Screenshots of the main states go to the build tree.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "tests/e2e/viewer_window.h"
#include "tests/support/files.h"
#include "tests/support/message_pump.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"
#include "tests/support/viewer_process.h"

using namespace test_support;
using namespace std::chrono_literals;

namespace {

constexpr std::uint32_t kCanvas = 0x272727;

std::wstring Fixture(const std::wstring& name) { return TestBinDirectory() + L"fixtures\\view\\" + name; }
std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }
bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

bool IsCanvas(std::uint32_t px) { return IsNear(px, kCanvas, 6); }
// Before its first paint a window shows black; every state of the view has canvas at its left edge
// with these pictures.
bool Painted(const Pixels& shot) { return shot.width > 2 && IsCanvas(shot.at(1, shot.height / 2)); }
bool IsOrange(std::uint32_t px) {
  const int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
  return r > 200 && g > 80 && g < 190 && b < 100;
}

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));  // the screenshots' encoder
    RemoveTree(data_);
    CreateDirectoryW(data_.c_str(), nullptr);
  }
  void TearDown() override {
    for (ViewerProcess* p : {&first_, &second_})
      if (p->Running()) {
        if (HWND w = p->FindWindowOf(L"VistromaMainFrameClass-b1f78b3cc4bd764c")) PostMessageW(w, WM_CLOSE, 0, 0);
        p->WaitExit(5s);
      }
    RemoveTree(data_);
    CoUninitialize();
  }
  void Config(const wchar_t* key, const wchar_t* value) {
    WritePrivateProfileStringW(L"app", key, value, (data_ + L"config.ini").c_str());
  }
  // A copy of a fixture under a name of the test's folder.
  std::wstring Place(const std::wstring& fixture, const std::wstring& name) {
    const std::wstring path = pictures_.File(name);
    EXPECT_TRUE(CopyFileW(Fixture(fixture).c_str(), path.c_str(), FALSE)) << "fixture " << fixture.size();
    return path;
  }
  void Start(const std::wstring& arguments) {
    ASSERT_TRUE(first_.Start(install_.exe(), arguments));
    ASSERT_TRUE(window_.Attach(first_));
  }
  // The view once it shows something other than the plain canvas in its middle.
  Pixels WaitForPicture() {
    Pixels shot;
    PumpUntil([&] {
      shot = window_.Capture();
      return Painted(shot) && !IsCanvas(shot.at(shot.width / 2, shot.height / 2)) &&
             !IsOrange(shot.at(shot.width / 2, shot.height / 2));
    });
    return shot;
  }
  void Screenshot(const wchar_t* name, const Pixels& shot) {
    const std::wstring path = ScreenshotPath(name);
    if (!path.empty()) {
      EXPECT_TRUE(SavePng(path, shot)) << "screenshot";
    }
  }
  int Percent() const { return TitleZoomPercent(window_.Title()); }

  std::wstring data_ = ViewerDataFolder();
  ViewerInstall install_;
  TempDir pictures_{L"pictures"};
  ViewerProcess first_, second_;
  ViewerWindow window_;
};

}  // namespace

TEST_F(ViewerTest, APictureFromTheCommandLineIsNamedAndShownCentredOnTheCanvas) {
  Start(Quoted(Place(L"photo.jpg", L"照片.jpg")));
  EXPECT_TRUE(window_.WaitForTitle([](const std::wstring& t) {
    return Contains(t, L"照片.jpg ( 1200x1200") && Contains(t, L"1/1");
  })) << "title: " << window_.Title().size();
  const Pixels shot = WaitForPicture();
  ASSERT_GT(shot.width, 0);
  const RECT picture = BoundingBox(shot, [](std::uint32_t px) { return !IsCanvas(px); });
  EXPECT_NEAR(picture.left, shot.width - picture.right, 1) << "centred across";
  EXPECT_NEAR(picture.top, shot.height - picture.bottom, 1) << "centred down";
  EXPECT_NEAR(picture.right - picture.left, picture.bottom - picture.top, 1) << "square, as the picture is";
  EXPECT_EQ(picture.bottom - picture.top, shot.height) << "fitted to the view's height";
  EXPECT_EQ(shot.at(picture.left / 2, shot.height / 2) & 0xFFFFFF, kCanvas) << "the canvas beside it";
  const int fit = Percent();
  EXPECT_GT(fit, 0);
  EXPECT_LT(fit, 100);
  Screenshot(L"photo_fitted.png", shot);

  window_.Key('1');  // actual size
  EXPECT_TRUE(window_.WaitForTitle([](const std::wstring& t) { return TitleZoomPercent(t) == 100; }));
  Screenshot(L"photo_actual.png", window_.Capture());
}

TEST_F(ViewerTest, DraggingMovesAZoomedPictureOnlyAndTheDoubleClickToggles) {
  Start(Quoted(Place(L"photo.jpg", L"photo.jpg")));
  Pixels shot = WaitForPicture();
  const POINT middle{shot.width / 2, shot.height / 2};
  const int fit = Percent();

  window_.Drag(middle, {middle.x + 150, middle.y - 200});
  const Pixels after_fitted_drag = window_.Capture();
  EXPECT_EQ(after_fitted_drag.data, shot.data) << "a fitted picture stays where it is";

  window_.Key('1');
  ASSERT_TRUE(window_.WaitForTitle([](const std::wstring& t) { return TitleZoomPercent(t) == 100; }));
  shot = window_.Capture();
  window_.Drag(middle, {middle.x, middle.y - 200});
  const Pixels moved = window_.Capture();
  // The ramp runs from blue at the top to yellow at the bottom: dragging up brings lower, yellower rows.
  const std::uint32_t before = shot.at(middle.x, middle.y), now = moved.at(middle.x, middle.y);
  EXPECT_GT((now >> 16) & 0xFF, ((before >> 16) & 0xFF) + 10) << "the picture followed the pointer";
  EXPECT_EQ(moved.at(middle.x, middle.y - 200) & 0xFFFFFF, before & 0xFFFFFF) << "by the distance dragged";

  window_.Key('1');
  ASSERT_TRUE(window_.WaitForTitle([fit](const std::wstring& t) { return TitleZoomPercent(t) == fit; }));
  window_.DoubleClick(middle);
  EXPECT_TRUE(window_.WaitForTitle([fit](const std::wstring& t) { return TitleZoomPercent(t) > fit; }));
  window_.DoubleClick(middle);
  EXPECT_TRUE(window_.WaitForTitle([fit](const std::wstring& t) { return TitleZoomPercent(t) == fit; }));
}

TEST_F(ViewerTest, ALargePictureShowsTheLoadingSpriteUntilItsFitFrameArrives) {
  Start(Quoted(Place(L"big.jpg", L"大图.jpg")));
  bool sprite = false, picture_after_sprite = false;
  PumpUntil(
      [&] {
        const Pixels shot = window_.Capture();
        if (!Painted(shot)) return false;
        const int cx = shot.width / 2, cy = shot.height / 2;
        const int orange = static_cast<int>(std::count_if(shot.data.begin(), shot.data.end(), IsOrange));
        if (orange > 20 && IsCanvas(shot.at(cx, cy))) {
          if (!sprite) Screenshot(L"loading.png", shot);
          sprite = true;
        }
        if (sprite && orange == 0 && !IsCanvas(shot.at(cx, cy))) picture_after_sprite = true;
        return picture_after_sprite;
      },
      20s);
  EXPECT_TRUE(sprite) << "the sprite spins while the fit frame is made";
  EXPECT_TRUE(picture_after_sprite) << "and goes when it arrives";
  EXPECT_TRUE(Contains(window_.Title(), L"6000x4000"));
}

TEST_F(ViewerTest, WithoutAFileTheWelcomePageOffersToOpenOne) {
  Start(L"");
  Pixels shot;
  RECT button{};
  ASSERT_TRUE(PumpUntil([&] {
    shot = window_.Capture();
    button = BoundingBox(shot, IsOrange);
    return Painted(shot) && button.right > button.left;
  }));
  // The slogan (196 x 150) 26 pixels above the middle, the 182 x 48 button 87 below it and 7 to the right.
  const int slogan_left = (shot.width - 196) / 2, slogan_top = (shot.height - 150 - 52) / 2;
  EXPECT_NEAR(button.left, slogan_left + 7, 1);
  EXPECT_NEAR(button.top, slogan_top + 150 + 87, 1);
  EXPECT_NEAR(button.right - button.left, 182, 2);
  EXPECT_NEAR(button.bottom - button.top, 48, 2);
  RECT above = BoundingBox(shot, [](std::uint32_t px) { return !IsCanvas(px) && !IsOrange(px); });
  EXPECT_GE(above.top, slogan_top) << "the slogan's picture inside its place";
  EXPECT_LE(above.left, shot.width / 2);
  Screenshot(L"welcome.png", shot);
  EXPECT_EQ(window_.Title(), L"Vistroma");

  window_.Wheel({shot.width / 2, shot.height / 2}, -120);
  EXPECT_EQ(window_.Title(), L"Vistroma") << "the wheel does nothing here";

  window_.Click({(button.left + button.right) / 2, (button.top + button.bottom) / 2});
  HWND dialog = nullptr;
  // The main window has a class of its own, so the process's window of the dialog class is the file dialog.
  ASSERT_TRUE(PumpUntil([&] { return (dialog = first_.FindWindowOf(L"#32770")) != nullptr; }, 10s))
      << "the file dialog opens";
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }, 10s));
  EXPECT_EQ(window_.Title(), L"Vistroma");
}

TEST_F(ViewerTest, AMissingFileShowsItsTipAndAnUnreadableOneItsErrorTexts) {
  // A neighbour deleted behind the viewer's back after the folder was read.
  for (const wchar_t* name : {L"p1.png", L"不在了.png"}) Place(L"pages\\p1.png", name);
  Start(Quoted(pictures_.File(L"p1.png")));
  ASSERT_TRUE(window_.WaitForTitle([](const std::wstring& t) { return Contains(t, L"1/2"); }));
  const std::wstring gone = pictures_.File(L"不在了.png");
  ASSERT_TRUE(DeleteFileW(gone.c_str())) << "the viewer, preloading it, lets others delete it";
  // Under Wine a deleted file keeps its name until the last open handle (a preload's) is closed.
  ASSERT_TRUE(PumpUntil([&] { return GetFileAttributesW(gone.c_str()) == INVALID_FILE_ATTRIBUTES; }, 10s));
  window_.Key(VK_RIGHT);
  Pixels shot;
  RECT card{};
  ASSERT_TRUE(PumpUntil([&] {
    shot = window_.Capture();
    card = BoundingBox(shot, [](std::uint32_t px) { return ((px >> 16) & 0xFF) < 0x1C && (px & 0xFF) < 0x1C; });
    return Painted(shot) && card.right > card.left;
  }));
  // The card's one-pixel rim is lighter than its face.
  EXPECT_NEAR(card.right - card.left, 180, 2);
  EXPECT_NEAR(card.bottom - card.top, 50, 2);
  EXPECT_NEAR(card.left, (shot.width - 180) / 2, 1);
  EXPECT_NEAR(card.top, (shot.height - 50) / 2, 1);
  EXPECT_GT(CountNear(shot, card, 0xFFFFFF, 60), 30) << "its white text";
  EXPECT_TRUE(Contains(window_.Title(), L"不在了.png"));
  Screenshot(L"missing_file.png", shot);
  PostMessageW(window_.main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(first_.WaitExit().has_value());

  Start(Quoted(Place(L"broken.jpg", L"坏的.jpg")));
  ASSERT_TRUE(PumpUntil([&] {
    shot = window_.Capture();
    return Painted(shot) && CountNear(shot, RECT{0, 0, shot.width, shot.height}, 0x696969, 40) > 20;
  })) << "grey texts";
  const int h = shot.height, w = shot.width;
  EXPECT_GT(CountNear(shot, RECT{0, h / 2 - 30, w, h / 2}, 0x696969, 40), 10) << "the file name above the middle";
  EXPECT_GT(CountNear(shot, RECT{0, h / 2, w, h / 2 + 30}, 0x696969, 40), 10) << "the error below it";
  Screenshot(L"load_error.png", shot);
}

TEST_F(ViewerTest, KeysTurnPagesInLogicalOrderOnceTheFolderIsKnown) {
  for (const wchar_t* name : {L"p1.png", L"p2.png", L"p10.png"}) Place(std::wstring(L"pages\\") + name, name);
  Start(Quoted(pictures_.File(L"p1.png")));
  const auto shows = [&](const wchar_t* name, const wchar_t* position) {
    return window_.WaitForTitle([&](const std::wstring& t) { return Contains(t, name) && Contains(t, position); }, 10s);
  };
  ASSERT_TRUE(shows(L"p1.png", L"1/3"));
  window_.Key(VK_RIGHT);
  EXPECT_TRUE(shows(L"p2.png", L"2/3"));
  window_.Key(VK_SPACE);
  EXPECT_TRUE(shows(L"p10.png", L"3/3")) << "10 after 2";
  window_.Key(VK_RIGHT);
  EXPECT_TRUE(shows(L"p10.png", L"3/3")) << "no wrap-around unless asked";
  window_.Key(VK_LEFT);
  EXPECT_TRUE(shows(L"p2.png", L"2/3"));
  // Closing at once, with neighbours still being preloaded, ends cleanly.
  PostMessageW(window_.main(), WM_CLOSE, 0, 0);
  EXPECT_EQ(first_.WaitExit(), 0u);
}

TEST_F(ViewerTest, TheAnsweredWheelZoomsCtrlTurnsPagesAndAltScrolls) {
  Config(L"mouse_wheel_action", L"1");
  Config(L"show_wheel_favorite", L"0");
  Place(L"photo.jpg", L"a.jpg");
  Place(L"pages\\p2.png", L"b.png");
  Start(Quoted(pictures_.File(L"a.jpg")));
  ASSERT_TRUE(window_.WaitForTitle([](const std::wstring& t) { return Contains(t, L"1/2"); }));
  Pixels shot = WaitForPicture();
  const POINT middle{shot.width / 2, shot.height / 2};
  const int fit = Percent();
  window_.Wheel(middle, 120);
  EXPECT_TRUE(window_.WaitForTitle([fit](const std::wstring& t) { return TitleZoomPercent(t) > fit; })) << "zooms in";

  window_.Key('1');  // from a zoom back to fit, then to actual size
  ASSERT_TRUE(window_.WaitForTitle([fit](const std::wstring& t) { return TitleZoomPercent(t) == fit; }));
  window_.Key('1');
  ASSERT_TRUE(window_.WaitForTitle([](const std::wstring& t) { return TitleZoomPercent(t) == 100; }));
  shot = window_.Capture();
  window_.HoldAlt(true);
  window_.Wheel(middle, -120);
  window_.HoldAlt(false);
  const Pixels scrolled = window_.Capture();
  EXPECT_EQ(TitleZoomPercent(window_.Title()), 100) << "Alt does not zoom";
  EXPECT_GT((scrolled.at(middle.x, middle.y) >> 16) & 0xFF, ((shot.at(middle.x, middle.y) >> 16) & 0xFF) + 10)
      << "Alt scrolled down";

  window_.Wheel(middle, -120, MK_CONTROL);
  EXPECT_TRUE(window_.WaitForTitle([](const std::wstring& t) { return Contains(t, L"b.png"); })) << "Ctrl turns the page";
}

TEST_F(ViewerTest, ASecondLaunchWithAFileShowsItInTheFirstWindow) {
  Config(L"only_one_instance", L"1");
  Place(L"photo.jpg", L"first.jpg");
  Start(Quoted(pictures_.File(L"first.jpg")));
  ASSERT_TRUE(window_.WaitForTitle([](const std::wstring& t) { return Contains(t, L"first.jpg"); }));
  ASSERT_TRUE(second_.Start(install_.exe(), Quoted(Place(L"pages\\p2.png", L"第二张.png"))));
  EXPECT_EQ(second_.WaitExit(), 0u) << "the second copy hands over and ends";
  EXPECT_TRUE(window_.WaitForTitle([](const std::wstring& t) { return Contains(t, L"第二张.png ( 400x300"); }));
}

TEST_F(ViewerTest, EscClosesTheWindowAndItsPlaceIsSavedAndTheQuitBroadcastClosesIt) {
  Start(Quoted(Place(L"photo.jpg", L"photo.jpg")));
  WaitForPicture();
  SetWindowPos(window_.main(), nullptr, 100, 80, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE);
  PumpUntil([] { return false; }, 300ms);
  window_.Key(VK_ESCAPE);
  ASSERT_EQ(first_.WaitExit(), 0u);
  wchar_t placed[64] = {};
  GetPrivateProfileStringW(L"app", L"last_position", L"", placed, 64, (data_ + L"config.ini").c_str());
  EXPECT_STREQ(placed, L"100_80_1000_680");

  ASSERT_TRUE(second_.Start(install_.exe(), L""));
  ViewerWindow again;
  ASSERT_TRUE(again.Attach(second_));
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"Vistroma_quit_broadcast_msg"), 0, 0);
  EXPECT_EQ(second_.WaitExit(), 0u);
}
