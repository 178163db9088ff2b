// The main window's hand-off handling, driven inside this program with the messages a later launch sends.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ipc/hand_off.h"
#include "main_view/main_dlg.h"
#include "main_view/main_messages.h"
#include "tests/support/temp_dir.h"
#include "tests/support/viewer_process.h"

using main_view::CTormaveDlg;

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CTormaveDlg::RegisterWindowClass(GetModuleHandleW(nullptr)));
    ASSERT_NE(dlg_.Create(), nullptr);
    // Not the watchdog or the start statistic of a real start: this program is no installation.
    KillTimer(dlg_.hwnd(), main_view::TIMER_TRAY_CHECK);
    KillTimer(dlg_.hwnd(), main_view::TIMER_START_STAT);
    file_ = files_.File(L"照片.png");
    HANDLE h = CreateFileW(file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
  }
  // Whether a posted message with this id (and, for commands, this id in wParam) is waiting.
  bool Posted(UINT msg, WPARAM wp) {
    MSG m;
    while (PeekMessageW(&m, dlg_.hwnd(), msg, msg, PM_REMOVE))
      if (m.wParam == wp) return true;
    return false;
  }
  LRESULT Hand(const std::wstring& text) { return ipc::SendHandOff(dlg_.hwnd(), text); }

  CTormaveDlg dlg_;
  test_support::TempDir files_;
  std::wstring file_;
};

}  // namespace

TEST_F(MainWindowTest, TheMainWindowIsBorderlessAndNamed) {
  wchar_t class_name[64] = {}, title[32] = {};
  GetClassNameW(dlg_.hwnd(), class_name, 64);
  GetWindowTextW(dlg_.hwnd(), title, 32);
  EXPECT_STREQ(class_name, ipc::kMainWindowClass);
  EXPECT_STREQ(title, L"Vistroma");
  EXPECT_EQ(GetWindowLongPtrW(dlg_.hwnd(), GWL_STYLE) & WS_CAPTION, 0);
  RECT r;
  GetWindowRect(dlg_.hwnd(), &r);
  // The caption strip drags the window; below it the view takes the mouse.
  EXPECT_EQ(SendMessageW(dlg_.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 300, r.top + 10)), HTCAPTION);
  EXPECT_NE(SendMessageW(dlg_.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 300, r.top + 200)), HTCAPTION);
  MINMAXINFO info{};
  SendMessageW(dlg_.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 700);
  EXPECT_EQ(info.ptMinTrackSize.y, 500);
}

TEST_F(MainWindowTest, HandOffsAreTakenByTheirKind) {
  EXPECT_EQ(Hand(L"--setting"), 1);
  EXPECT_TRUE(Posted(WM_COMMAND, 21800)) << "the settings command";
  EXPECT_EQ(Hand(L"\"C:\\v.exe\" --LockscreenSet"), 1);
  EXPECT_TRUE(Posted(main_view::WM_APP_LOCKSCREEN_SETTINGS, 0));

  ShowWindow(dlg_.hwnd(), SW_MINIMIZE);
  EXPECT_EQ(Hand(L"--show-existing"), 1);
  EXPECT_FALSE(IsIconic(dlg_.hwnd())) << "restored";
  EXPECT_TRUE(dlg_.current_path().empty());

  ShowWindow(dlg_.hwnd(), SW_MINIMIZE);
  EXPECT_EQ(Hand(file_), 1);
  EXPECT_FALSE(IsIconic(dlg_.hwnd()));
  EXPECT_EQ(dlg_.current_path(), file_);

  EXPECT_EQ(Hand(files_.File(L"gone.jpg")), 1) << "not a file: the window only comes forward";
  EXPECT_EQ(dlg_.current_path(), file_);

  std::wstring text = file_;
  COPYDATASTRUCT other{0x1234, static_cast<DWORD>((text.size() + 1) * 2), text.data()};
  EXPECT_EQ(SendMessageW(dlg_.hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&other)), 0);
  COPYDATASTRUCT empty{ipc::HAND_OFF_TAG, 0, nullptr};
  EXPECT_EQ(SendMessageW(dlg_.hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&empty)), 0);
}

TEST_F(MainWindowTest, AClosingWindowRefusesHandOffsAndEndsItsLoop) {
  dlg_.RequestClose();
  KillTimer(dlg_.hwnd(), main_view::TIMER_FORCE_EXIT);  // this program is not to end
  EXPECT_TRUE(dlg_.closing());
  EXPECT_TRUE(dlg_.ended());
  EXPECT_EQ(Hand(file_), 0) << "the sender then starts its own copy";
  EXPECT_TRUE(Posted(dlg_.quit_message(), 0)) << "the quit message went to the window itself";
}

TEST_F(MainWindowTest, TheQuitMessageEndsTheRunAndCharactersNeverReachIt) {
  MSG character{dlg_.hwnd(), WM_CHAR, L'a', 0, 0, {}};
  EXPECT_TRUE(dlg_.PreTranslateMessage(character));
  EXPECT_FALSE(dlg_.ended());
  MSG quit{dlg_.hwnd(), RegisterWindowMessageW(ipc::kQuitBroadcastMessage), 0, 0, 0, {}};
  EXPECT_TRUE(dlg_.PreTranslateMessage(quit));
  EXPECT_TRUE(dlg_.ended());
}
