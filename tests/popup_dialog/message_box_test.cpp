// The message box built from the shipped package and from the archive inside the program, run modally
// and closed through real window messages, with its shadow and a screenshot of each kind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "basic_lib/gdiplus.h"
#include "popup_dialog/message_box.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_paths.h"
#include "ui_toolkit/dialog_runner.h"
#include "ui_toolkit/toolkit.h"

using namespace popup_dialog;
using ui_toolkit::CControlUI;
using ui_toolkit::CToolkit;
using ui_toolkit::PackageSource;
using ui_toolkit::Rect;

namespace {

constexpr wchar_t kBoxClass[] = L"VistromaMessageBox";
constexpr COLORREF kViewerCanvas = RGB(0x27, 0x27, 0x27);

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(hwnd, &r);
    HBRUSH brush = CreateSolidBrush(kViewerCanvas);
    FillRect(reinterpret_cast<HDC>(wp), &r, brush);
    DeleteObject(brush);
    return 1;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ASSERT_TRUE(CToolkit::Get().Initialise(GetModuleHandleW(nullptr), test_support::DistDirectory() + L"resources",
                                           L"res.zip"));
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VistromaMsgBoxTestOwner";
    RegisterClassW(&wc);
    owner_ = CreateWindowExW(0, wc.lpszClassName, L"owner", WS_POPUP | WS_VISIBLE, 160, 120, 900, 600, nullptr,
                             nullptr, wc.hInstance, nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override {
    if (owner_) DestroyWindow(owner_);
    CToolkit::Get().Shutdown();
    CoUninitialize();
  }
  basic_lib::ScopedGdiplus gdiplus_;
  HWND owner_ = nullptr;
};

Rect RectOf(const CControlUI* c) { return c ? c->rect : Rect{}; }

}  // namespace

TEST_F(MessageBoxTest, BothArchivesCarryTheMessageBox) {
  for (PackageSource source : {PackageSource::kResourcePackage, PackageSource::kEmbedded})
    for (const wchar_t* file : {L"msgbox.xml", L"msgbox1.xml", L"images/bg_msg.png", L"images/btn-grey.png",
                                L"images/btn-orange.png", L"images/main_close_btn.png", L"Images/shadow.png"}) {
      EXPECT_TRUE(CToolkit::Get().Contains(file, source)) << static_cast<int>(source);
      if (std::wstring(file).ends_with(L".png")) {
        EXPECT_NE(CToolkit::Get().Picture(file, source), nullptr) << file;
      }
    }
  const ui_toolkit::CPicture* orange = CToolkit::Get().Picture(L"images/btn-orange.png", PackageSource::kEmbedded);
  ASSERT_NE(orange, nullptr);
  EXPECT_EQ(orange->width(), 372);
  EXPECT_EQ(orange->height(), 36);
}

TEST_F(MessageBoxTest, ButtonsTextsAndPlacesFollowTheKind) {
  const Rect single{108, 130, 232, 166}, right{184, 130, 318, 166}, left{32, 130, 156, 166};
  struct Case {
    int kind;
    const wchar_t* custom;
    const wchar_t* right_text;
    const wchar_t* left_text;  // null: no left button
    int right_code, left_code;
  };
  const Case cases[] = {
      {kMsgBoxOk, L"", L"确定", nullptr, 1, 0},
      {kMsgBoxOk, L"我知道了", L"我知道了", nullptr, 1, 0},
      {kMsgBoxOkCancel, L"", L"确定", L"取消", 1, 2},
      {kMsgBoxOkCancel, L"保存", L"保存", L"取消", 1, 2},
      {kMsgBoxYesNo, L"", L"是", L"否", 6, 7},
  };
  for (bool embedded : {false, true})
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "kind " << c.kind << (embedded ? " embedded" : " package"));
      CMessageBox box(owner_, L"文件保存失败", c.kind, L"center", embedded, c.custom);
      ASSERT_NE(box.Create(owner_, ui_toolkit::kDialogStyle & ~WS_VISIBLE, 0), nullptr);
      RECT wr, cr;
      GetWindowRect(box.hwnd(), &wr);
      GetClientRect(box.hwnd(), &cr);
      EXPECT_EQ(cr.right, 392);
      EXPECT_EQ(cr.bottom, 182);
      EXPECT_EQ(wr.right - wr.left, 392) << "no frame left";
      EXPECT_EQ(GetWindowLongPtrW(box.hwnd(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME), 0);

      const CControlUI* r = box.FindControl(L"right_btn");
      ASSERT_NE(r, nullptr);
      EXPECT_EQ(r->text, c.right_text);
      EXPECT_EQ(r->font, 3);
      EXPECT_EQ(r->hot_image.source, (Rect{124, 0, 248, 36}));
      EXPECT_EQ(r->pushed_image.file, L"images/btn-orange.png");
      const CControlUI* l = box.FindControl(L"left_btn");
      if (c.left_text) {
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->text, c.left_text);
        EXPECT_EQ(RectOf(r), right);
        EXPECT_EQ(RectOf(l), left);
        EXPECT_EQ(l->text_colour, 0xFF888888u);
        EXPECT_EQ(l->normal_image.file, L"images/btn-grey.png");
        EXPECT_EQ(box.left_code(), c.left_code);
      } else {
        EXPECT_EQ(l, nullptr);
        EXPECT_EQ(RectOf(r), single);
      }
      EXPECT_EQ(box.right_code(), c.right_code);

      const CControlUI* label = box.FindControl(L"msg_text");
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->class_name(), L"Label2");
      EXPECT_EQ(RectOf(label), (Rect{43, 55, 343, 120}));
      EXPECT_EQ(label->text_colour, 0xFF888888u);
      EXPECT_EQ(label->font, 3);
    }
}

TEST_F(MessageBoxTest, EmptyTextShowsNoLabelAndAlignmentIsKept) {
  CMessageBox empty(owner_, L"", kMsgBoxOk);
  ASSERT_NE(empty.Create(owner_, ui_toolkit::kDialogStyle & ~WS_VISIBLE, 0), nullptr);
  EXPECT_EQ(empty.FindControl(L"msg_text"), nullptr);

  struct Case {
    const wchar_t* alignment;
    ui_toolkit::HorizontalAlign expected;
  };
  for (const Case& c : {Case{L"left", ui_toolkit::HorizontalAlign::kLeft}, Case{L"right", ui_toolkit::HorizontalAlign::kRight},
                        Case{L"center", ui_toolkit::HorizontalAlign::kCenter},
                        Case{L"middle", ui_toolkit::HorizontalAlign::kCenter}}) {
    CMessageBox box(owner_, L"文字", kMsgBoxOk, c.alignment);
    ASSERT_NE(box.Create(owner_, ui_toolkit::kDialogStyle & ~WS_VISIBLE, 0), nullptr);
    EXPECT_EQ(box.FindControl(L"msg_text")->align, c.expected) << c.alignment;
  }
}

namespace {

// What the timer does once the modal box is up.
enum class Action { kRight, kLeft, kClose, kEsc, kEnter };

struct Drive {
  Action action;
  POINT at;         // client point clicked
  bool owner_disabled = false;
  RECT placed{};
  HWND owner = nullptr;
};
Drive* g_drive = nullptr;

void CALLBACK DriveTimer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = FindWindowW(kBoxClass, nullptr);
  if (!box || !IsWindowVisible(box)) return;
  KillTimer(nullptr, id);
  g_drive->owner_disabled = !IsWindowEnabled(g_drive->owner);
  GetWindowRect(box, &g_drive->placed);
  switch (g_drive->action) {
    case Action::kEsc:
      PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
      break;
    case Action::kEnter:
      PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
      break;
    default: {
      const LPARAM at = MAKELPARAM(g_drive->at.x, g_drive->at.y);
      PostMessageW(box, WM_MOUSEMOVE, 0, at);
      PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, at);
      PostMessageW(box, WM_LBUTTONUP, 0, at);
    }
  }
}

}  // namespace

TEST_F(MessageBoxTest, ModalRunEndsWithTheCodeOfWhatWasPressed) {
  // Button centres where the box places them: one button at 108..232, two at 32..156 and 184..318 of the
  // button row (y 130..166); the close button in the top right corner.
  const POINT single{170, 148}, right{251, 148}, left{94, 148}, close{376, 15};
  struct Case {
    int kind;
    Action action;
    POINT at;
    int expected;
  };
  const Case cases[] = {
      {kMsgBoxOk, Action::kRight, single, 1},     {kMsgBoxOk, Action::kClose, close, 8},
      {kMsgBoxOk, Action::kEsc, {}, 8},           {kMsgBoxOk, Action::kEnter, {}, 1},
      {kMsgBoxOkCancel, Action::kRight, right, 1}, {kMsgBoxOkCancel, Action::kLeft, left, 2},
      {kMsgBoxOkCancel, Action::kClose, close, 8}, {kMsgBoxOkCancel, Action::kEsc, {}, 8},
      {kMsgBoxYesNo, Action::kRight, right, 6},    {kMsgBoxYesNo, Action::kLeft, left, 7},
      {kMsgBoxYesNo, Action::kClose, close, 8},    {kMsgBoxYesNo, Action::kEsc, {}, 8},
      {kMsgBoxYesNo, Action::kEnter, {}, 6},
  };
  int n = 0;
  for (const Case& c : cases) {
    const bool embedded = (n++ % 2) == 1;
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " action " << static_cast<int>(c.action)
                                    << (embedded ? " embedded" : " package"));
    Drive drive{c.action, c.at};
    drive.owner = owner_;
    g_drive = &drive;
    ASSERT_NE(SetTimer(nullptr, 0, 30, DriveTimer), 0u);
    EXPECT_EQ(ShowMessageBox(owner_, L"确定要删除这张图片吗？", c.kind, L"center", embedded), c.expected);
    EXPECT_TRUE(drive.owner_disabled);
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_EQ(FindWindowW(kBoxClass, nullptr), nullptr) << "the box is gone";
    // Centred on the owner (900 x 600 at 160, 120).
    EXPECT_EQ(drive.placed.left, 160 + (900 - 392) / 2);
    EXPECT_EQ(drive.placed.top, 120 + (600 - 182) / 2);
  }

  Drive notice{Action::kRight, single};
  notice.owner = owner_;
  g_drive = &notice;
  ASSERT_NE(SetTimer(nullptr, 0, 30, DriveTimer), 0u);
  EXPECT_EQ(ShowNoticeBox(owner_, L"GIF图片格式暂不支持格式转换哦~", L"我知道了"), 1);
}

TEST_F(MessageBoxTest, WithoutTheResourcePackageOnlyTheEmbeddedBoxShows) {
  ASSERT_FALSE(CToolkit::Get().Initialise(GetModuleHandleW(nullptr), L"Z:\\no\\such\\folder", L"res.zip"));
  ASSERT_FALSE(CToolkit::Get().Initialise(GetModuleHandleW(nullptr), test_support::DistDirectory(), L"res.zip"))
      << "a folder without the package";
  EXPECT_EQ(ShowMessageBox(owner_, L"不会出现", kMsgBoxOk, L"center", false), -1);

  Drive drive{Action::kRight, {170, 148}};
  drive.owner = owner_;
  g_drive = &drive;
  ASSERT_NE(SetTimer(nullptr, 0, 30, DriveTimer), 0u);
  EXPECT_EQ(ShowMessageBox(nullptr, L"图片查看失败，请重新下载看图软件", kMsgBoxOk, L"left", true), 1);
}

TEST_F(MessageBoxTest, ShadowLiesJustBelowTheBoxAndFollowsIt) {
  CMessageBox box(owner_, L"阴影", kMsgBoxOk);
  ASSERT_NE(box.Create(owner_, ui_toolkit::kDialogStyle & ~WS_VISIBLE, 0), nullptr);
  ShowWindow(box.hwnd(), SW_SHOWNA);
  const ui_toolkit::CShadowWindow* shadow = box.shadow();
  ASSERT_NE(shadow, nullptr);
  ASSERT_TRUE(IsWindowVisible(shadow->hwnd()));
  RECT b, s;
  GetWindowRect(box.hwnd(), &b);
  GetWindowRect(shadow->hwnd(), &s);
  EXPECT_EQ(s.left, b.left - 9);
  EXPECT_EQ(s.top, b.top - 9);
  EXPECT_EQ(s.right, b.right + 9);
  EXPECT_EQ(s.bottom, b.bottom + 9);
  EXPECT_EQ(GetWindow(box.hwnd(), GW_HWNDNEXT), shadow->hwnd()) << "directly below the box";
  EXPECT_TRUE(GetWindowLongPtrW(shadow->hwnd(), GWL_EXSTYLE) & WS_EX_TRANSPARENT) << "clicks pass through";

  // Soft: transparent at the outer corner, darker towards the box, and no harder than a shadow.
  const ui_toolkit::CPicture* surface = shadow->surface();
  ASSERT_NE(surface, nullptr);
  const auto alpha = [&](int x, int y) { return surface->pixels()[y * surface->width() + x] >> 24; };
  const int mid = surface->height() / 2;
  EXPECT_LT(alpha(0, 0), 8u);
  EXPECT_GT(alpha(7, mid), alpha(2, mid));
  EXPECT_GT(alpha(7, mid), 10u);
  EXPECT_LT(alpha(7, mid), 160u);
  EXPECT_GT(alpha(surface->width() / 2, surface->height() - 4), alpha(surface->width() / 2, surface->height() - 1));

  SetWindowPos(box.hwnd(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(shadow->hwnd(), &s);
  EXPECT_EQ(s.left, 291);
  EXPECT_EQ(s.top, 191);
  ShowWindow(box.hwnd(), SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(shadow->hwnd()));
}

namespace {

// The box over the viewer's canvas as the screen shows it: the shadow's premultiplied pixels blended over
// the canvas, then what the box paints.
test_support::Pixels Compose(const CMessageBox& box) {
  constexpr int kMargin = 28;
  const test_support::Pixels client = test_support::CaptureClient(box.hwnd());
  test_support::Pixels out;
  out.width = client.width + 2 * kMargin;
  out.height = client.height + 2 * kMargin;
  out.data.assign(static_cast<size_t>(out.width) * out.height, 0xFF272727u);
  if (const ui_toolkit::CShadowWindow* shadow = box.shadow(); shadow && shadow->surface()) {
    const ui_toolkit::CPicture& s = *shadow->surface();
    const int off = kMargin - shadow->size();
    for (int y = 0; y < s.height(); ++y)
      for (int x = 0; x < s.width(); ++x) {
        const std::uint32_t src = s.pixels()[y * s.width() + x];
        std::uint32_t& dst = out.data[static_cast<size_t>(y + off) * out.width + x + off];
        const std::uint32_t inv = 255 - (src >> 24);
        std::uint32_t result = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8)
          result |= std::min<std::uint32_t>(255, ((src >> shift) & 0xFF) + ((dst >> shift) & 0xFF) * inv / 255) << shift;
        dst = result;
      }
  }
  for (int y = 0; y < client.height; ++y)
    for (int x = 0; x < client.width; ++x)
      out.data[static_cast<size_t>(y + kMargin) * out.width + x + kMargin] = client.at(x, y);
  return out;
}

}  // namespace

TEST_F(MessageBoxTest, ScreenshotOfEachKind) {
  struct Shot {
    const wchar_t* file;
    int kind;
    const wchar_t* text;
    const wchar_t* alignment;
    const wchar_t* custom;
    bool embedded;
  };
  const Shot shots[] = {
      {L"msgbox_kind0.png", kMsgBoxOk, L"图片保存失败，请检查磁盘空间或文件是否被占用。", L"center", L"", false},
      {L"msgbox_kind1.png", kMsgBoxOkCancel, L"确定要把这张图片移到回收站吗？", L"center", L"", false},
      {L"msgbox_kind4.png", kMsgBoxYesNo, L"图片已被修改，是否保存更改？", L"center", L"", false},
      {L"msgbox_notice.png", kMsgBoxOk, L"GIF图片格式暂不支持格式转换哦~", L"left", L"我知道了", false},
      {L"msgbox_startup.png", kMsgBoxOk, L"图片查看失败，请重新下载看图软件", L"left", L"", true},
  };
  for (const Shot& shot : shots) {
    SCOPED_TRACE(testing::Message() << "file " << static_cast<int>(shot.kind));
    CMessageBox box(owner_, shot.text, shot.kind, shot.alignment, shot.embedded, shot.custom);
    ASSERT_NE(box.Create(owner_, ui_toolkit::kDialogStyle & ~WS_VISIBLE, 0), nullptr);
    ShowWindow(box.hwnd(), SW_SHOWNA);
    const test_support::Pixels picture = Compose(box);
    // What a user sees: the orange button face at its place, the grey text in the content area.
    const std::uint32_t button = picture.at(28 + (shot.kind == kMsgBoxOk ? 120 : 196), 28 + 134);
    EXPECT_GT((button >> 16) & 0xFF, 0xE0u);
    EXPECT_LT(button & 0xFF, 0x60u);
    int ink = 0;
    for (int y = 28 + 55; y < 28 + 120; ++y)
      for (int x = 28 + 43; x < 28 + 343; ++x)
        if ((picture.at(x, y) & 0xFF) < 0xD0) ++ink;
    EXPECT_GT(ink, 150) << "the text is drawn";
    const std::wstring path = test_support::ScreenshotPath(shot.file);
    if (!path.empty()) {
      EXPECT_TRUE(test_support::SavePng(path, picture));
    }
  }
}
