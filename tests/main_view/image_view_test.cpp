// The image view inside a window of this program, on real pictures: its states, the welcome page and
// its button, the arrows that follow the folder list and fade, the wheel by its rules, dragging, the
// double click, and the wheel prompt answered with the mouse.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "app/app_config.h"
#include "basic_lib/gdiplus.h"
#include "image/current_picture.h"
#include "image/thumbnail_cache.h"
#include "image/wic_factory.h"
#include "main_view/image_view.h"
#include "main_view/main_messages.h"
#include "main_view/view_item_geometry.h"
#include "main_view/view_items.h"
#include "main_view/view_services.h"
#include "popup_dialog/mouse_wheel_prompt.h"
#include "tests/support/message_pump.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"
#include "ui_toolkit/toolkit.h"
#include "view_render/key_frame_render.h"

using namespace main_view;
using test_support::PumpUntil;
using namespace std::chrono_literals;

namespace {

constexpr int kWidth = 900, kHeight = 600;

std::wstring Fixture(const wchar_t* name) { return test_support::TestBinDirectory() + L"fixtures\\decode\\" + name; }

class ImageViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    image::CreateImagingFactory();
    image::CThumbnailCache::Get().Clear();
    ASSERT_TRUE(ui_toolkit::CToolkit::Get().Initialise(GetModuleHandleW(nullptr),
                                                       test_support::DistDirectory() + L"resources", L"res.zip"));
    app::CAppConfig& config = app::CAppConfig::Get();
    saved_action_ = config.mouse_wheel_action;
    saved_favorite_ = config.show_wheel_favorite;
    config.mouse_wheel_action = 0;
    config.toolbar_dock = 1;
    config.orientation_by_tag = 1;
    // The settings file's folder, which the program itself makes at start.
    const std::wstring ini = config.file();
    CreateDirectoryW(ini.substr(0, ini.find_last_of(L'\\')).c_str(), nullptr);
    parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, kWidth, kHeight,
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    ViewServices::Get().Connect([this] { return parent_; });
    ASSERT_NE(view_.Create(parent_, RECT{0, 0, kWidth, kHeight}), nullptr);
  }
  void TearDown() override {
    DestroyWindow(view_.hwnd());
    DestroyWindow(parent_);
    image::CCurrentPicture::Instance().Open(L"");
    app::CAppConfig& config = app::CAppConfig::Get();
    config.mouse_wheel_action = saved_action_;
    config.show_wheel_favorite = saved_favorite_;
    DeleteFileW(config.file().c_str());
    ui_toolkit::CToolkit::Get().Shutdown();
    image::ReleaseImagingFactory();
    CoUninitialize();
  }
  void Show(const std::wstring& path) {
    image::CCurrentPicture::Instance().Open(path);
    view_.ShowPicture();
  }
  // A posted message to the parent with this id and wParam, taken out of the queue.
  bool Posted(UINT msg, WPARAM wp) {
    MSG m;
    while (PeekMessageW(&m, parent_, msg, msg, PM_REMOVE)) posted_.emplace_back(m.message, m.wParam);
    for (auto it = posted_.begin(); it != posted_.end(); ++it)
      if (it->first == msg && it->second == wp) {
        posted_.erase(it);
        return true;
      }
    return false;
  }
  void Wheel(int delta, WORD keys = 0) {
    POINT centre{kWidth / 2, kHeight / 2};
    ClientToScreen(view_.hwnd(), &centre);
    SendMessageW(view_.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(static_cast<short>(delta))),
                 MAKELPARAM(centre.x, centre.y));
  }
  // A press at from, moves to to, and the release there, as the pan loop reads them.
  void Drag(POINT from, POINT to) {
    PostMessageW(view_.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((from.x + to.x) / 2, (from.y + to.y) / 2));
    PostMessageW(view_.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    SendMessageW(view_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
  }
  [[nodiscard]] bool Has(int id) const { return view_.FindItem(id) != nullptr; }
  [[nodiscard]] bool Shown(int id) const {
    auto* item = view_.FindItem(id);
    return item && item->Is(widget_window::kItemVisible);
  }

  basic_lib::ScopedGdiplus gdiplus_;
  HWND parent_ = nullptr;
  WndMainImageView view_;
  test_support::TempDir files_;
  int saved_action_ = 0, saved_favorite_ = 0;
  std::vector<std::pair<UINT, WPARAM>> posted_;
};

}  // namespace

TEST_F(ImageViewTest, TheWelcomePageCentresItsPairAndItsButtonAsksForAFile) {
  Show(L"");
  ASSERT_TRUE(Has(kItemSlogan));
  ASSERT_TRUE(Has(kItemOpenButton));
  const RECT slogan = view_.FindItem(kItemSlogan)->rect, button = view_.FindItem(kItemOpenButton)->rect;
  const WelcomePlacement expected = PlaceWelcome({kWidth, kHeight}, {slogan.right - slogan.left, slogan.bottom - slogan.top},
                                                 {button.right - button.left, button.bottom - button.top});
  EXPECT_EQ(slogan.top, expected.slogan.top);
  EXPECT_EQ(slogan.left, expected.slogan.left);
  EXPECT_EQ((slogan.top + slogan.bottom) / 2, kHeight / 2 - 26) << "the pair's picture sits 26 pixels above the middle";
  EXPECT_EQ(button.top, slogan.bottom + 87);
  EXPECT_EQ(button.left, slogan.left + 7);
  EXPECT_GT(button.right - button.left, 0) << "the button's picture was read";

  Wheel(-120);
  EXPECT_FALSE(Posted(WM_COMMAND, ID_NEXT)) << "the welcome page ignores the wheel";
  SendMessageW(view_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(button.left + 20, button.top + 10));
  EXPECT_TRUE(Posted(WM_COMMAND, ID_OPEN));
  EXPECT_EQ(view_.renderer(), nullptr);
}

TEST_F(ImageViewTest, EachKindOfFileShowsItsState) {
  const std::wstring broken = files_.File(L"坏的.png");
  HANDLE h = CreateFileW(broken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, "\x89PNG not really", 15, &written, nullptr);
  CloseHandle(h);

  // The large picture first, before preloading in its folder can have cached it.
  Show(Fixture(L"size_1281x1281.png"));
  EXPECT_TRUE(Has(kItemLoading)) << "a large picture loads on a worker";
  EXPECT_TRUE(PumpUntil([&] { return !Has(kItemLoading); }, 20s)) << "the first frame removes the sprite";

  Show(files_.File(L"不在了.jpg"));
  EXPECT_TRUE(Has(kItemMissingTip));
  const RECT tip = view_.FindItem(kItemMissingTip)->rect;
  EXPECT_EQ(tip.right - tip.left, kTipWidth);
  EXPECT_EQ(tip.bottom - tip.top, kTipHeight);
  EXPECT_EQ(static_cast<CTipItem*>(view_.FindItem(kItemMissingTip))->tip(), L"当前文件不存在");
  EXPECT_EQ(view_.renderer(), nullptr);

  Show(broken);
  EXPECT_TRUE(Has(kItemLoadError));
  EXPECT_FALSE(Has(kItemMissingTip)) << "one state at a time";
  EXPECT_EQ(view_.renderer(), nullptr);

  Show(Fixture(L"marked.png"));
  EXPECT_NE(view_.renderer(), nullptr);
  EXPECT_FALSE(Has(kItemLoading)) << "a small picture's fit frame is made at once";
  EXPECT_FALSE(Has(kItemLoadError));

}

TEST_F(ImageViewTest, ArrowsFollowTheFolderListAndFadeUnderThePointer) {
  for (const wchar_t* name : {L"a1.png", L"a2.png", L"a10.png"})
    ASSERT_TRUE(CopyFileW(Fixture(L"marked.png").c_str(), files_.File(name).c_str(), FALSE));
  Show(files_.File(L"a2.png"));
  EXPECT_FALSE(Shown(kItemArrowLeft)) << "nothing is known before the scan reports";
  ASSERT_TRUE(PumpUntil([&] { return Shown(kItemArrowLeft) && Shown(kItemArrowRight); }));

  Show(files_.File(L"a1.png"));
  ASSERT_TRUE(PumpUntil([&] { return Shown(kItemArrowRight); }));
  EXPECT_FALSE(Shown(kItemArrowLeft)) << "the first picture has no previous one";

  auto* right = static_cast<CTurnPageItem*>(view_.FindItem(kItemArrowRight));
  const RECT r = right->rect;
  EXPECT_EQ(r.right, kWidth);
  EXPECT_EQ(r.bottom, kHeight);
  SendMessageW(view_.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(r.left + 5, kHeight / 2));
  EXPECT_TRUE(PumpUntil([&] { return right->opacity() == 100; }, 2s)) << "fades in";
  SendMessageW(view_.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(kWidth / 2, kHeight / 2));
  EXPECT_TRUE(PumpUntil([&] { return right->opacity() == 0; }, 2s)) << "fades out";

  SendMessageW(view_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 5, kHeight / 2));
  EXPECT_TRUE(Posted(WM_KEYDOWN, VK_RIGHT)) << "the main window turns the key into the next picture";
}

TEST_F(ImageViewTest, TheWheelTurnsPagesZoomsOrScrollsByItsRules) {
  Show(Fixture(L"size_1280x1282.png"));
  ASSERT_NE(view_.renderer(), nullptr);
  const float fit = view_.renderer()->zoom().fit_ratio();
  Wheel(-120);
  EXPECT_TRUE(Posted(WM_COMMAND, ID_NEXT));
  Wheel(120);
  EXPECT_TRUE(Posted(WM_COMMAND, ID_PREVIOUS));
  Wheel(120, MK_CONTROL);
  EXPECT_GT(view_.renderer()->zoom().ratio(), fit) << "Ctrl zooms when the wheel turns pages";

  app::CAppConfig::Get().mouse_wheel_action = 1;
  const float before = view_.renderer()->zoom().ratio();
  Wheel(-120);
  EXPECT_LT(view_.renderer()->zoom().ratio(), before);
  Wheel(-120, MK_CONTROL);
  EXPECT_TRUE(Posted(WM_COMMAND, ID_NEXT)) << "Ctrl turns pages when the wheel zooms";

  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_MENU] = 0x80;
  SetKeyboardState(keys);
  ASSERT_LT(GetKeyState(VK_MENU), 0);
  Wheel(-120);
  Wheel(120);
  keys[VK_MENU] = 0;
  SetKeyboardState(keys);
  EXPECT_TRUE(Posted(WM_COMMAND, ID_SCROLL_DOWN));
  EXPECT_TRUE(Posted(WM_COMMAND, ID_SCROLL_UP));
}

TEST_F(ImageViewTest, DraggingMovesOnlyAZoomedPictureAndTheDoubleClickToggles) {
  Show(Fixture(L"size_1280x1282.png"));
  ASSERT_NE(view_.renderer(), nullptr);
  const auto source = [&] { return view_.renderer()->zoom().geometry().source; };
  const view_render::IntRect fitted = source();
  Drag({400, 300}, {300, 200});
  EXPECT_EQ(source(), fitted) << "a fitted picture does not move";

  view_.ToggleFitActual();
  EXPECT_FLOAT_EQ(view_.renderer()->zoom().ratio(), 1.0f);
  const view_render::IntRect actual = source();
  Drag({400, 300}, {300, 200});
  EXPECT_EQ(source().left, actual.left + 100) << "the picture follows the pointer";
  EXPECT_EQ(source().top, actual.top + 100);

  view_.ToggleFitActual();
  const float fit = view_.renderer()->zoom().fit_ratio();
  SendMessageW(view_.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(450, 300));
  EXPECT_FLOAT_EQ(view_.renderer()->zoom().ratio(), view_.renderer()->zoom().double_click_ratio());
  SendMessageW(view_.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(450, 300));
  EXPECT_FLOAT_EQ(view_.renderer()->zoom().ratio(), fit);

  view_.ToggleFitActual();
  const int top = source().top;
  view_.ScrollPage(ID_SCROLL_DOWN);
  EXPECT_GT(source().top, top) << "scrolling down shows more of the bottom";
  view_.ZoomStep(0);
  EXPECT_LT(view_.renderer()->zoom().ratio(), 1.0f);
}

TEST_F(ImageViewTest, TheSavingTipCoversTheStateAndGivesTheArrowsBack) {
  for (const wchar_t* name : {L"b1.png", L"b2.png"})
    ASSERT_TRUE(CopyFileW(Fixture(L"marked.png").c_str(), files_.File(name).c_str(), FALSE));
  Show(files_.File(L"b1.png"));
  ASSERT_TRUE(PumpUntil([&] { return Shown(kItemArrowRight); }));
  view_.ShowSavingTip();
  EXPECT_TRUE(Has(kItemSavingTip));
  EXPECT_FALSE(Shown(kItemArrowRight));
  view_.HideSavingTip();
  EXPECT_FALSE(Has(kItemSavingTip));
  EXPECT_TRUE(Shown(kItemArrowRight));
}

namespace {

// Clicks the named controls of the open wheel prompt, one per timer tick.
const wchar_t* const* g_clicks = nullptr;
void CALLBACK ClickPrompt(HWND, UINT, UINT_PTR id, DWORD) {
  auto* prompt = popup_dialog::DlgMouseWheelFavorite2::Current();
  if (!prompt || !prompt->hwnd() || !IsWindowVisible(prompt->hwnd())) return;
  if (!*g_clicks) {
    KillTimer(nullptr, id);
    return;
  }
  if (auto* c = prompt->FindControl(*g_clicks)) {
    const LPARAM at = MAKELPARAM((c->rect.left + c->rect.right) / 2, (c->rect.top + c->rect.bottom) / 2);
    PostMessageW(prompt->hwnd(), WM_MOUSEMOVE, 0, at);
    PostMessageW(prompt->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(prompt->hwnd(), WM_LBUTTONUP, 0, at);
  }
  ++g_clicks;
}

}  // namespace

TEST_F(ImageViewTest, TheFirstWheelAsksAndTheAnswerIsKept) {
  app::CAppConfig& config = app::CAppConfig::Get();
  Show(Fixture(L"size_1280x1282.png"));
  ASSERT_NE(view_.renderer(), nullptr);
  struct Case {
    const wchar_t* clicks[4];
    int stored_action;
    int stored_favorite;
  };
  const Case cases[] = {
      {{L"zoom", L"ok", nullptr}, 1, 0},
      {{L"zoom", L"notip", L"ok", nullptr}, 1, 1},  // asked again next time
      {{L"zoom", L"cls", nullptr}, 0, 0},           // closing keeps the pages
  };
  for (const Case& c : cases) {
    config.mouse_wheel_action = 99;
    config.show_wheel_favorite = 1;
    config.Save();  // what a re-read finds
    g_clicks = c.clicks;
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, ClickPrompt);
    const float before = view_.renderer()->zoom().ratio();
    Wheel(120);
    KillTimer(nullptr, timer);
    EXPECT_EQ(popup_dialog::DlgMouseWheelFavorite2::Current(), nullptr) << "gone after its run";
    EXPECT_EQ(config.mouse_wheel_action, c.stored_action) << c.clicks[1];
    EXPECT_EQ(config.show_wheel_favorite, c.stored_favorite) << c.clicks[1];
    if (c.stored_action == 1) {
      EXPECT_GT(view_.renderer()->zoom().ratio(), before) << "the answered wheel zooms at once";
    } else {
      EXPECT_TRUE(Posted(WM_COMMAND, ID_PREVIOUS));
    }
    wchar_t stored[16] = {};
    GetPrivateProfileStringW(L"app", L"mouse_wheel_action", L"", stored, 16, config.file().c_str());
    EXPECT_EQ(std::wstring(stored), std::to_wstring(c.stored_action)) << "saved";
  }
}
