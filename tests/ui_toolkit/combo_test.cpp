// A combo's drop-down driven through real window messages: opening under the combo, choosing by mouse and
// keyboard, and closing without a choice.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "basic_lib/gdiplus.h"
#include "tests/support/zip_builder.h"
#include "ui_toolkit/toolkit.h"
#include "ui_toolkit/window.h"

using namespace ui_toolkit;

namespace {

const char kLayout[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="300,200">
  <Font id="0" name="微软雅黑" size="13"/>
  <VerticalLayout bkcolor="0xFFFFFFFF" inset="20,20,20,20">
    <HorizontalLayout height="30">
      <Combo name="recommend" width="160" itemheight="28" bordersize="1" bordercolor="0xFFD6D9DE">
        <ListLabelElement name="item1" text="64X48"/>
        <ListLabelElement name="item2" text="160X120"/>
        <ListLabelElement name="item3" text="320X240"/>
        <ListLabelElement name="item4" text="480X360"/>
      </Combo>
      <Combo name="empty" width="60"/>
    </HorizontalLayout>
  </VerticalLayout>
</Window>)";

class ComboWindow : public CWindowUI {
 public:
  ComboWindow() : CWindowUI(L"combo.xml", L"VistromaComboTestWindow") {}
  std::vector<std::wstring> events;

 protected:
  void Notify(TNotifyUI& msg) override {
    if (msg.type == L"mouseenter" || msg.type == L"mouseleave" || msg.type == L"windowinit") return;
    std::wstring line = msg.type + L":" + (msg.sender ? msg.sender->name : L"");
    if (msg.type == L"itemselect") line += L":" + std::to_wstring(msg.wparam);
    events.push_back(line);
  }
};

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

class ComboTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    test_support::ZipBuilder zip;
    zip.Add("combo.xml", std::string(kLayout));
    ASSERT_TRUE(CToolkit::Get().UsePackage(zip.Build()));
    ASSERT_NE(w_.Create(nullptr, WS_POPUP, 0), nullptr);
    SetWindowPos(w_.hwnd(), nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    SetForegroundWindow(w_.hwnd());
    Pump();
    combo_ = w_.FindControl(L"recommend");
    ASSERT_NE(combo_, nullptr);
  }
  void TearDown() override {
    CToolkit::Get().Shutdown();
    CoUninitialize();
  }
  void ClickCombo(const CControlUI* c) {
    const LPARAM at = MAKELPARAM((c->rect.left + c->rect.right) / 2, (c->rect.top + c->rect.bottom) / 2);
    SendMessageW(w_.hwnd(), WM_MOUSEMOVE, 0, at);
    SendMessageW(w_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(w_.hwnd(), WM_LBUTTONUP, 0, at);
    Pump();
  }
  HWND Drop() const { return w_.dropdown() && w_.dropdown()->IsOpen() ? w_.dropdown()->hwnd() : nullptr; }

  basic_lib::ScopedGdiplus gdiplus_;
  ComboWindow w_;
  CControlUI* combo_ = nullptr;
};

}  // namespace

TEST_F(ComboTest, OpensUnderTheComboAndAClickChooses) {
  ClickCombo(combo_);
  HWND drop = Drop();
  ASSERT_NE(drop, nullptr);
  EXPECT_EQ(w_.events, std::vector<std::wstring>{L"dropdown:recommend"});
  EXPECT_TRUE(IsWindowVisible(drop));
  EXPECT_EQ(GetWindow(drop, GW_OWNER), w_.hwnd());
  RECT r;
  GetWindowRect(drop, &r);
  EXPECT_EQ(r.left, 100 + combo_->rect.left);
  EXPECT_EQ(r.top, 100 + combo_->rect.bottom);
  EXPECT_EQ(r.right - r.left, 160);
  EXPECT_EQ(r.bottom - r.top, 4 * 28 + 2);

  // The third row: one border pixel, then rows of 28.
  const LPARAM row3 = MAKELPARAM(50, 1 + 2 * 28 + 14);
  SendMessageW(drop, WM_MOUSEMOVE, 0, row3);
  SendMessageW(drop, WM_LBUTTONDOWN, MK_LBUTTON, row3);
  SendMessageW(drop, WM_LBUTTONUP, 0, row3);
  Pump();
  EXPECT_EQ(Drop(), nullptr);
  EXPECT_FALSE(IsWindow(drop));
  EXPECT_EQ(w_.events.back(), L"itemselect:recommend:2");
  EXPECT_EQ(combo_->selected_index, 2);
  EXPECT_TRUE(w_.FindControl(L"item3")->selected);
}

TEST_F(ComboTest, KeyboardChoosesAndEscOrLostFocusCloseWithoutChoice) {
  ClickCombo(combo_);
  ASSERT_NE(Drop(), nullptr);
  SendMessageW(Drop(), WM_KEYDOWN, VK_DOWN, 0);  // nothing chosen yet: the first row
  SendMessageW(Drop(), WM_KEYDOWN, VK_DOWN, 0);
  SendMessageW(Drop(), WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(Drop(), nullptr);
  EXPECT_EQ(w_.events.back(), L"itemselect:recommend:1");

  w_.events.clear();
  ClickCombo(combo_);
  ASSERT_NE(Drop(), nullptr);
  SendMessageW(Drop(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(Drop(), nullptr);
  EXPECT_EQ(combo_->selected_index, 1);

  // Esc is not a dismissal by a click: the combo opens again at once.
  ClickCombo(combo_);
  ASSERT_NE(Drop(), nullptr);
  SetFocus(w_.hwnd());  // as a click elsewhere in the window does
  Pump();
  EXPECT_EQ(Drop(), nullptr);
  // The click that took the focus away was on the combo itself: it closes the list and does not reopen it.
  ClickCombo(combo_);
  EXPECT_EQ(Drop(), nullptr);
  EXPECT_EQ(w_.events, (std::vector<std::wstring>{L"dropdown:recommend", L"dropdown:recommend"}));
  EXPECT_EQ(combo_->selected_index, 1);
}

TEST_F(ComboTest, ComboWithoutElementsDoesNotOpen) {
  ClickCombo(w_.FindControl(L"empty"));
  EXPECT_EQ(Drop(), nullptr);
  EXPECT_TRUE(w_.events.empty());
}
