#include "main_view/main_dlg.h"

#include <windowsx.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdlib>

#include "app/app_config.h"
#include "app/app_paths.h"
#include "app/command_line.h"
#include "app/my_log.h"
#include "app/process_control.h"
#include "app/start_source.h"
#include "app/stat_client.h"
#include "basic_lib/scoped_handle.h"
#include "basic_lib/text_convert.h"
#include "ipc/hand_off.h"
#include "main_view/main_messages.h"
#include "resources/resource_ids.h"

namespace main_view {
namespace {

constexpr int kCaptionDragHeight = 30;

void ToggleTopmost(HWND hwnd) {
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL CALLBACK FindOtherMainWindow(HWND hwnd, LPARAM lp) {
  wchar_t class_name[64] = {};
  if (!GetClassNameW(hwnd, class_name, 64) || wcscmp(class_name, ipc::kMainWindowClass) != 0) return TRUE;
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process == GetCurrentProcessId()) return TRUE;
  *reinterpret_cast<bool*>(lp) = true;
  return FALSE;  // the first one is enough
}

}  // namespace

CTormaveDlg::CTormaveDlg() : CModalDialog(kMainDialogTemplate) {}

bool CTormaveDlg::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(instance, ipc::kMainWindowClass, &wc)) return true;
  if (!GetClassInfoExW(nullptr, L"#32770", &wc)) return false;
  wc.cbSize = sizeof(wc);
  wc.hInstance = instance;
  wc.lpszClassName = ipc::kMainWindowClass;
  wc.style |= CS_DBLCLKS;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_ICON));
  return RegisterClassExW(&wc) != 0;
}

bool CTormaveDlg::OnInitDialog() {
  HWND self = hwnd();
  ChangeWindowMessageFilterEx(self, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
  ChangeWindowMessageFilterEx(self, WM_DROPFILES, MSGFLT_ALLOW, nullptr);
  ChangeWindowMessageFilterEx(self, WM_COPYGLOBALDATA, MSGFLT_ALLOW, nullptr);
  app::CAppConfig::Get().ApplyStartPlacement(self);

  HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto icon = [&](int size) {
    return reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON, size, size, 0));
  };
  SendMessageW(self, WM_SETICON, ICON_BIG, icon(GetSystemMetrics(SM_CXICON)));
  SendMessageW(self, WM_SETICON, ICON_SMALL, icon(GetSystemMetrics(SM_CXSMICON)));

  app::CStatSender::Get().Send(L"main", L"open");
  PostMessageW(self, WM_APP_START_OPEN, 0, 0);
  DragAcceptFiles(self, TRUE);
  quit_message_ = RegisterWindowMessageW(ipc::kQuitBroadcastMessage);

  // The window draws its own caption strip.
  SetWindowLongPtrW(self, GWL_STYLE, GetWindowLongPtrW(self, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CAPTION));
  SetWindowPos(self, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  OnSize();
  if (!IsWindowVisible(self)) ShowWindow(self, SW_SHOW);

  SetForegroundWindow(self);
  SetTimer(self, TIMER_TRAY_CHECK, 1000, nullptr);
  SetTimer(self, TIMER_START_STAT, 1000, nullptr);
  app::CAppConfig::Get().quick_indexes = app::CStatWrapper::Get().GetQuickIndex();
  return true;
}

bool CTormaveDlg::PreTranslateMessage(MSG& msg) {
  if (msg.message == WM_CHAR) return true;
  if (quit_message_ && msg.message == quit_message_) {
    EndDialog(IDCANCEL);
    return true;
  }
  return CModalDialog::PreTranslateMessage(msg);
}

bool CTormaveDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
      // Another tag is not a hand-off: the dialog's default processing answers it.
      if (!closing_ && (!data || data->dwData != ipc::HAND_OFF_TAG)) return false;
      result = OnCopyData(data);
      return true;
    }
    case WM_CLOSE:
      OnClose();
      return true;
    case WM_QUERYENDSESSION:
      RequestClose();
      result = TRUE;
      return true;
    case WM_TIMER:
      OnTimer(wp);
      return true;
    case WM_NCHITTEST: {
      POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ScreenToClient(hwnd(), &pt);
      if (full_screen_ || pt.y < 0 || pt.y >= kCaptionDragHeight) return false;
      result = HTCAPTION;
      return true;
    }
    case WM_PAINT:
      OnPaint();
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED) OnSize();
      return false;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lp));
      return true;
    case WM_DROPFILES: {
      auto drop = reinterpret_cast<HDROP>(wp);
      wchar_t path[MAX_PATH + 1] = {};
      const UINT n = DragQueryFileW(drop, 0, path, MAX_PATH + 1);
      DragFinish(drop);
      if (n > 0 && n <= MAX_PATH) OpenPicture(path);
      return true;
    }
    case WM_APP_START_OPEN:
      OnStartOpen();
      return true;
    case WM_APP_OPEN_FROM_INSTANCE:
      OnOpenFromInstance(reinterpret_cast<const wchar_t*>(wp));
      return true;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case ID_CLOSE_REQUEST:
          RequestClose();
          return true;
        case ID_MAXIMISE_RESTORE:
          SendMessageW(hwnd(), WM_SYSCOMMAND, IsZoomed(hwnd()) ? SC_RESTORE : SC_MAXIMIZE, 0);
          return true;
        case ID_MINIMISE:
          SendMessageW(hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
          return true;
      }
      break;
  }
  return CModalDialog::OnMessage(msg, wp, lp, result);
}

LRESULT CTormaveDlg::OnCopyData(const COPYDATASTRUCT* data) {
  if (closing_) return 0;  // the sender then starts its own copy
  std::wstring text;
  if (!ipc::ReadHandOff(data, text)) return 0;
  app::CCommandLine line;
  line.Parse(text);
  if (line.HasSwitch(L"setting")) {
    ToggleTopmost(hwnd());
    PostMessageW(hwnd(), WM_COMMAND, 21800, 0);
    return 1;
  }
  if (!line.HasSwitch(L"show-existing")) {
    if (line.HasSwitch(L"LockscreenSet")) {
      VLOG_INFO << L"Post LockscreenSet";
      PostMessageW(hwnd(), WM_APP_LOCKSCREEN_SETTINGS, 0, 0);
      return 1;
    }
    if (!text.empty() && PathFileExistsW(text.c_str())) {
      SendMessageW(hwnd(), WM_APP_OPEN_FROM_INSTANCE, reinterpret_cast<WPARAM>(text.c_str()), 0);
      return 1;
    }
  }
  BringToFront();
  return 1;
}

void CTormaveDlg::BringToFront() {
  if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
  else ToggleTopmost(hwnd());
}

void CTormaveDlg::OnOpenFromInstance(const wchar_t* path) {
  if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
  // The foreground lock lets a window come forward only from the foreground thread's input.
  const DWORD own = GetCurrentThreadId();
  const DWORD foreground = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const bool attached = foreground && foreground != own && AttachThreadInput(own, foreground, TRUE);
  BringWindowToTop(hwnd());
  SetForegroundWindow(hwnd());
  if (attached) AttachThreadInput(own, foreground, FALSE);
  if (path) OpenPicture(path);
}

void CTormaveDlg::OpenPicture(const std::wstring& path) {
  current_path_ = path;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CTormaveDlg::OnStartOpen() {
  InvalidateRect(hwnd(), nullptr, FALSE);
  UpdateWindow(hwnd());
  OpenPicture(app::CCommandLine::Get().GetFileToOpen());
}

void CTormaveDlg::RequestClose() {
  closing_ = true;
  PostMessageW(hwnd(), quit_message_, 0, 0);
  SendMessageW(hwnd(), WM_CLOSE, 0, 0);
  SetTimer(hwnd(), TIMER_FORCE_EXIT, 1000, nullptr);
}

void CTormaveDlg::OnClose() {
  OnCancel();
  if (app::CAppConfig::Get().completely_exit) CompletelyExit();
}

void CTormaveDlg::CompletelyExit() {
  // Copies closing together take turns; the handle stays open until the process ends, and with it the
  // ownership, so the next copy sees this one's window gone.
  HANDLE exit_mutex = CreateMutexW(nullptr, FALSE, app::kMainExitMutex);
  if (exit_mutex) WaitForSingleObject(exit_mutex, 10000);
  bool other_copy = false;
  EnumWindows(FindOtherMainWindow, reinterpret_cast<LPARAM>(&other_copy));
  if (other_copy) return;
  app::TerminateProcessesByPath(app::GetExeFolder() + app::kTrayExe);
}

void CTormaveDlg::OnCancel() {
  if (full_screen_) return;  // leaving full screen comes with the view's commands
  EndDialog(IDCANCEL);
}

void CTormaveDlg::OnDestroy() {
  app::CAppConfig& config = app::CAppConfig::Get();
  config.CaptureWindowPlacement(hwnd());
  config.Save();
}

void CTormaveDlg::OnTimer(UINT_PTR id) {
  switch (id) {
    case TIMER_FORCE_EXIT:
      exit(0);
    case TIMER_TRAY_CHECK:
      KillTimer(hwnd(), id);
      app::LaunchTray(L"");
      break;
    case TIMER_START_STAT: {
      KillTimer(hwnd(), id);
      std::wstring from;
      app::CCommandLine::Get().GetSwitchValue(L"from", from);
      const std::string name = app::StartSourceStat(basic_lib::WideToUtf8(from));
      app::CStatSender::Get().SendUtf8("main", "open_" + name);
      break;
    }
    case TIMER_SIZE_SETTLE:
      KillTimer(hwnd(), id);
      break;
  }
}

void CTormaveDlg::OnSize() {
  // A plain rectangle from one pixel left of the client area to two beyond it: the frame is cut off.
  RECT client{}, window{};
  GetClientRect(hwnd(), &client);
  GetWindowRect(hwnd(), &window);
  POINT origin{0, 0};
  ClientToScreen(hwnd(), &origin);
  const int left = origin.x - window.left - 1, top = origin.y - window.top;
  SetWindowRgn(hwnd(), CreateRectRgn(left, top, left + client.right + 3, top + client.bottom + 2), TRUE);
  InvalidateRect(hwnd(), nullptr, FALSE);
  SetTimer(hwnd(), TIMER_SIZE_SETTLE, 50, nullptr);
}

void CTormaveDlg::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  RECT client;
  GetClientRect(hwnd(), &client);
  basic_lib::ScopedBrush canvas(CreateSolidBrush(kCanvasColour));
  FillRect(dc, &client, canvas.get());
  FrameRect(dc, &client, canvas.get());
  EndPaint(hwnd(), &ps);
}

void CTormaveDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
  info->ptMinTrackSize = {700, 500};
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  // Maximised, the window keeps the taskbar visible.
  info->ptMaxSize.y = work.bottom - work.top + (info->ptMaxPosition.y < 0 ? -2 * info->ptMaxPosition.y : 0);
}

}  // namespace main_view
