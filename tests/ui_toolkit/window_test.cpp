// Toolkit windows driven through real window messages under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <algorithm>
#include <vector>

#include "basic_lib/gdiplus.h"
#include "tests/support/zip_builder.h"
#include "ui_toolkit/dialog_runner.h"
#include "ui_toolkit/placement.h"
#include "ui_toolkit/toolkit.h"
#include "ui_toolkit/window.h"

using namespace ui_toolkit;

namespace {

const char kLayout[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="300,200" caption="0,0,0,30">
  <Font id="0" name="微软雅黑" size="13"/>
  <VerticalLayout bkcolor="0xFFFFFFFF">
    <HorizontalLayout height="30">
      <Control/>
      <Button name="cls" width="30"/>
    </HorizontalLayout>
    <HorizontalLayout height="40">
      <Button name="ok" width="100" text="确定"/>
      <Button name="off" width="100" enabled="false"/>
      <CheckBox name="check" width="100"/>
    </HorizontalLayout>
    <HorizontalLayout height="40">
      <Option name="a" group="g" width="100" selected="true"/>
      <Option name="b" group="g" width="100"/>
      <Edit name="edit" width="100"/>
    </HorizontalLayout>
    <List name="list" itemheight="30">
      <ListLabelElement name="row0" text="one"/>
      <ListLabelElement name="row1" text="two"/>
    </List>
  </VerticalLayout>
</Window>)";

class RecordingWindow : public CWindowUI {
 public:
  RecordingWindow() : CWindowUI(L"test.xml", L"VistromaToolkitTestWindow") {}
  std::vector<std::wstring> events;
  int closes_with = -1;  // when >= 0, "cls" and "ok" close the window with it

 protected:
  void Notify(TNotifyUI& msg) override {
    std::wstring line = msg.type + L":" + (msg.sender ? msg.sender->name : L"");
    if (msg.type == L"itemselect") line += L":" + std::to_wstring(msg.wparam);
    events.push_back(line);
    if (closes_with >= 0 && msg.type == L"click" && msg.sender) {
      if (msg.sender->name == L"cls") Close(8);
      if (msg.sender->name == L"ok") Close(closes_with);
    }
  }
};

LPARAM Centre(const CControlUI* c) {
  return MAKELPARAM((c->rect.left + c->rect.right) / 2, (c->rect.top + c->rect.bottom) / 2);
}

class ToolkitWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    test_support::ZipBuilder zip;
    zip.Add("test.xml", std::string(kLayout));
    ASSERT_TRUE(CToolkit::Get().UsePackage(zip.Build()));
  }
  void TearDown() override {
    CToolkit::Get().Shutdown();
    CoUninitialize();
  }
  void Click(RecordingWindow& w, const wchar_t* name) {
    const LPARAM at = Centre(w.FindControl(name));
    SendMessageW(w.hwnd(), WM_MOUSEMOVE, 0, at);
    SendMessageW(w.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(w.hwnd(), WM_LBUTTONUP, 0, at);
  }
  basic_lib::ScopedGdiplus gdiplus_;
};

}  // namespace

TEST_F(ToolkitWindowTest, ClicksSelectionsAndTextChangesNotify) {
  RecordingWindow w;
  ASSERT_NE(w.Create(nullptr, WS_POPUP | WS_VISIBLE, 0), nullptr);
  std::vector<std::wstring>& ev = w.events;
  ASSERT_EQ(ev, std::vector<std::wstring>{L"windowinit:"});
  ev.clear();

  Click(w, L"ok");
  EXPECT_EQ(ev, (std::vector<std::wstring>{L"mouseenter:ok", L"click:ok"}));
  ev.clear();

  Click(w, L"off");  // disabled: never hovered, never clicked
  EXPECT_EQ(ev, std::vector<std::wstring>{L"mouseleave:ok"});
  ev.clear();

  Click(w, L"b");
  EXPECT_TRUE(w.FindControl(L"b")->selected);
  EXPECT_FALSE(w.FindControl(L"a")->selected);
  EXPECT_EQ(ev, (std::vector<std::wstring>{L"mouseenter:b", L"selectchanged:a", L"selectchanged:b", L"click:b"}));
  ev.clear();

  Click(w, L"check");
  Click(w, L"check");
  EXPECT_FALSE(w.FindControl(L"check")->selected);
  EXPECT_EQ(std::count(ev.begin(), ev.end(), L"selectchanged:check"), 2);
  ev.clear();

  Click(w, L"row1");
  EXPECT_EQ(w.FindControl(L"list")->selected_index, 1);
  EXPECT_TRUE(w.FindControl(L"row1")->selected);
  EXPECT_EQ(ev.back(), L"itemselect:list:1");
  ev.clear();

  CControlUI* edit = w.FindControl(L"edit");
  ASSERT_NE(edit->native_window, nullptr);
  w.SetText(edit, L"from code");  // without notification
  EXPECT_TRUE(ev.empty());
  SetWindowTextW(static_cast<HWND>(edit->native_window), L"typed 中文");
  EXPECT_EQ(ev, std::vector<std::wstring>{L"textchanged:edit"});
  EXPECT_EQ(w.GetText(edit), L"typed 中文");

  // Setting a state from code without notification.
  ev.clear();
  w.SetSelected(w.FindControl(L"a"), true, false);
  EXPECT_TRUE(ev.empty());
  EXPECT_FALSE(w.FindControl(L"b")->selected);
}

TEST_F(ToolkitWindowTest, ReleaseOffTheControlIsNoClick) {
  RecordingWindow w;
  ASSERT_NE(w.Create(nullptr, WS_POPUP | WS_VISIBLE, 0), nullptr);
  w.events.clear();
  const LPARAM at = Centre(w.FindControl(L"ok"));
  SendMessageW(w.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  EXPECT_TRUE(w.FindControl(L"ok")->runtime_state & kStatePushed);
  SendMessageW(w.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 190));
  SendMessageW(w.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 190));
  EXPECT_TRUE(std::find(w.events.begin(), w.events.end(), L"click:ok") == w.events.end());
  EXPECT_EQ(w.FindControl(L"ok")->runtime_state, 0u);
}

TEST_F(ToolkitWindowTest, CaptionDragsExceptOverButtons) {
  RecordingWindow w;
  ASSERT_NE(w.Create(nullptr, WS_POPUP | WS_VISIBLE, 0), nullptr);
  RECT wr;
  GetWindowRect(w.hwnd(), &wr);
  EXPECT_EQ(SendMessageW(w.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(wr.left + 20, wr.top + 10)), HTCAPTION);
  EXPECT_EQ(SendMessageW(w.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(wr.left + 285, wr.top + 10)), HTCLIENT);
  EXPECT_EQ(SendMessageW(w.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(wr.left + 20, wr.top + 50)), HTCLIENT);
}

TEST_F(ToolkitWindowTest, ModalRunEndsWithTheCloseCodeAndReenablesTheOwner) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 200, 150, 800, 600, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  struct Case {
    const char* how;
    UINT msg;
    WPARAM wp;
    int expected;
  };
  for (const Case& c : {Case{"ok clicked", WM_LBUTTONUP, 0, 1}, Case{"Esc", WM_KEYDOWN, VK_ESCAPE, 8},
                        Case{"WM_CLOSE 42", WM_CLOSE, 42, 42}}) {
    RecordingWindow w;
    w.closes_with = 1;
    bool owner_disabled_during_run = false;
    RECT placed{};
    // Drive the dialog from a timer of this thread, as a user's input would arrive through the loop.
    static Case current;
    static RecordingWindow* target;
    static bool* disabled_seen;
    static RECT* placed_seen;
    static HWND owner_seen;
    current = c, target = &w, disabled_seen = &owner_disabled_during_run, placed_seen = &placed, owner_seen = owner;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
      if (!target->hwnd() || !IsWindowVisible(target->hwnd())) return;
      KillTimer(nullptr, id);
      *disabled_seen = !IsWindowEnabled(owner_seen);
      GetWindowRect(target->hwnd(), placed_seen);
      if (current.msg == WM_LBUTTONUP) {
        const LPARAM at = Centre(target->FindControl(L"ok"));
        PostMessageW(target->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(target->hwnd(), WM_LBUTTONUP, 0, at);
      } else {
        PostMessageW(target->hwnd(), current.msg, current.wp, 0);
      }
    });
    ASSERT_NE(timer, 0u);
    EXPECT_EQ(RunModalDialog(w, owner), c.expected) << c.how;
    EXPECT_TRUE(owner_disabled_during_run) << c.how;
    EXPECT_TRUE(IsWindowEnabled(owner)) << c.how;
    EXPECT_EQ(w.hwnd(), nullptr) << c.how;
    // Centred on the owner (800 x 600 at 200, 150), frame included.
    EXPECT_EQ(placed.left, 200 + (800 - (placed.right - placed.left)) / 2) << c.how;
    EXPECT_EQ(placed.top, 150 + (600 - (placed.bottom - placed.top)) / 2) << c.how;
  }
  DestroyWindow(owner);
}

TEST(DialogPlacement, CentredOnOwnerOrWorkAreaAndKeptInside) {
  const Rect work{0, 0, 1280, 760};
  struct Case {
    const char* what;
    std::optional<Rect> owner;
    Rect expected;
  };
  const Case cases[] = {
      {"on the owner", Rect{100, 100, 900, 700}, {304, 309, 696, 491}},
      {"no owner: the work area", std::nullopt, {444, 289, 836, 471}},
      {"owner off the right edge", Rect{1000, 100, 1800, 700}, {888, 309, 1280, 491}},
      {"owner above the top", Rect{100, -700, 900, -100}, {304, 0, 696, 182}},
      {"owner off the left edge", Rect{-900, 100, -100, 700}, {0, 309, 392, 491}},
  };
  for (const Case& c : cases) EXPECT_EQ(CentreDialog({392, 182}, c.owner, work), c.expected) << c.what;
  EXPECT_EQ(CentreDialog({2000, 1000}, std::nullopt, work), (Rect{0, 0, 2000, 1000}));
}
