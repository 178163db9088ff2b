// The main window's hand-off handling, driven inside this program with the messages a later launch sends.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/app_config.h"
#include "basic_lib/gdiplus.h"
#include "image/current_picture.h"
#include "image/wic_factory.h"
#include "ipc/hand_off.h"
#include <shlobj.h>
#include "main_view/main_dlg.h"
#include "main_view/main_messages.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"
#include "tests/support/viewer_process.h"

using main_view::CTormaveDlg;

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // What the application object sets up before the window: COM, the imaging factory, GDI+.
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    image::CreateImagingFactory();
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
  void TearDown() override {
    if (dlg_.hwnd()) DestroyWindow(dlg_.hwnd());
    image::CCurrentPicture::Instance().Open(L"");
    image::ReleaseImagingFactory();
    CoUninitialize();
  }
  LRESULT Hand(const std::wstring& text) { return ipc::SendHandOff(dlg_.hwnd(), text); }

  basic_lib::ScopedGdiplus gdiplus_;
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

namespace {

// A drop of one file, as the shell hands it over.
HDROP MakeDrop(const std::wstring& path) {
  const size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GHND, bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), path.c_str(), path.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

RECT ChildRect(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::wstring Fixture(const wchar_t* name) {
  return test_support::TestBinDirectory() + L"fixtures\\decode\\" + name;
}

}  // namespace

TEST_F(MainWindowTest, CaptionButtonsSitAtTheTopRightAndTheTitleFollowsTheLogo) {
  RECT client{};
  GetClientRect(dlg_.hwnd(), &client);
  const struct {
    WORD id;
    int right_inset;
  } buttons[] = {{main_view::ID_CLOSE_REQUEST, 0}, {main_view::ID_MAXIMISE_RESTORE, 30}, {main_view::ID_MINIMISE, 60}};
  for (const auto& b : buttons) {
    const RECT r = ChildRect(dlg_.hwnd(), GetDlgItem(dlg_.hwnd(), b.id));
    EXPECT_EQ(r.right, client.right - b.right_inset) << b.id;
    EXPECT_EQ(r.top, 1);
    EXPECT_EQ(r.right - r.left, 30) << "one frame of the button's picture";
    EXPECT_EQ(r.bottom - r.top, 30);
  }
  const RECT view = ChildRect(dlg_.hwnd(), dlg_.view().hwnd());
  EXPECT_EQ(view.top, 31);
  EXPECT_EQ(view.bottom, client.bottom - 62) << "the toolbar's place below it";

  HWND title = GetDlgItem(dlg_.hwnd(), 1025);
  SendMessageW(dlg_.hwnd(), 21024, 240, 29);
  EXPECT_TRUE(dlg_.logo().large()) << "no picture: the large logo";
  EXPECT_EQ(ChildRect(dlg_.hwnd(), title).left, 95 + 16);
  EXPECT_EQ(ChildRect(dlg_.hwnd(), title).right - ChildRect(dlg_.hwnd(), title).left, 240);
  dlg_.OpenPath(Fixture(L"marked.png"));
  SendMessageW(dlg_.hwnd(), 21024, 240, 29);
  EXPECT_FALSE(dlg_.logo().large());
  EXPECT_EQ(ChildRect(dlg_.hwnd(), title).left, 27 + 16);
}

TEST_F(MainWindowTest, EscLeavesFullScreenFirstAndTheTKeyTogglesTopmost) {
  RECT before{};
  GetWindowRect(dlg_.hwnd(), &before);
  dlg_.OnCommand(main_view::ID_FULL_SCREEN);
  EXPECT_TRUE(dlg_.full_screen());
  RECT full{};
  GetWindowRect(dlg_.hwnd(), &full);
  EXPECT_EQ(full.right - full.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg_.hwnd(), main_view::ID_MAXIMISE_RESTORE)));
  EXPECT_EQ(SendMessageW(dlg_.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(full.left + 300, full.top + 10)), HTCLIENT)
      << "the strip does not drag in full screen";

  SendMessageW(dlg_.hwnd(), WM_COMMAND, IDCANCEL, 0);  // Esc
  EXPECT_FALSE(dlg_.full_screen());
  EXPECT_FALSE(dlg_.ended());
  RECT after{};
  GetWindowRect(dlg_.hwnd(), &after);
  EXPECT_TRUE(EqualRect(&before, &after)) << "back where it was";
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(dlg_.hwnd(), main_view::ID_MAXIMISE_RESTORE)));

  MSG t{dlg_.view().hwnd(), WM_KEYDOWN, 'T', 1, 0, {}};
  EXPECT_TRUE(dlg_.PreTranslateMessage(t));
  EXPECT_NE(GetWindowLongPtrW(dlg_.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_TRUE(dlg_.PreTranslateMessage(t));
  EXPECT_EQ(GetWindowLongPtrW(dlg_.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "twice: the normal z-order again";

  SendMessageW(dlg_.hwnd(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(dlg_.ended());
}

TEST_F(MainWindowTest, ADropOpensPicturesOnlyAndTheWheelWorksOverOtherChildren) {
  SendMessageW(dlg_.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(files_.File(L"notes.txt"))), 0);
  EXPECT_TRUE(dlg_.current_path().empty()) << "not a picture: ignored";
  const std::wstring picture = files_.File(L"拖进来.png");
  ASSERT_TRUE(CopyFileW(Fixture(L"marked.png").c_str(), picture.c_str(), FALSE));
  SendMessageW(dlg_.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(picture)), 0);
  EXPECT_EQ(dlg_.current_path(), picture);
  ASSERT_NE(dlg_.view().renderer(), nullptr);

  app::CAppConfig::Get().mouse_wheel_action = 0;
  POINT pt{20, 15};
  ClientToScreen(dlg_.hwnd(), &pt);
  MSG wheel{dlg_.logo().hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(pt.x, pt.y), 0, {}};
  dlg_.PreTranslateMessage(wheel);
  EXPECT_TRUE(Posted(WM_COMMAND, main_view::ID_NEXT)) << "the view took the wheel";
}
