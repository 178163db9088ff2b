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
#include "basic_lib/text_convert.h"
#include "image/current_picture.h"
#include "image/format_table.h"
#include "ipc/hand_off.h"
#include "main_view/main_layout.h"
#include "main_view/main_messages.h"
#include "main_view/view_services.h"
#include "resources/resource_ids.h"
#include "view_render/title_info.h"

namespace main_view {
namespace {

constexpr int kCaptionDragHeight = 30;
constexpr COLORREF kTitleColour = RGB(0xEE, 0xEE, 0xEE);
constexpr int kLogoId = 103;

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

HFONT MakeCaptionFont(int weight) {
  LOGFONTW lf{};
  lf.lfHeight = -12;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  wcscpy_s(lf.lfFaceName, L"微软雅黑");
  return CreateFontIndirectW(&lf);
}

void Place(HWND child, const RECT& r) {
  if (child) SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CTormaveDlg::CTormaveDlg()
    : CModalDialog(kMainDialogTemplate),
      accelerators_(LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS))),
      brush_(CreateSolidBrush(kCanvasColour)) {}

CTormaveDlg::~CTormaveDlg() {
  if (jobs_) jobs_->StopJobs(2000);
}

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

const std::wstring& CTormaveDlg::current_path() const { return image::CCurrentPicture::Instance().GetPath(); }

bool CTormaveDlg::OnInitDialog() {
  HWND self = hwnd();
  ChangeWindowMessageFilterEx(self, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
  ChangeWindowMessageFilterEx(self, WM_DROPFILES, MSGFLT_ALLOW, nullptr);
  ChangeWindowMessageFilterEx(self, WM_COPYGLOBALDATA, MSGFLT_ALLOW, nullptr);
  app::CAppConfig& config = app::CAppConfig::Get();
  config.ApplyStartPlacement(self);

  HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto icon = [&](int size) {
    return reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON, size, size, 0));
  };
  SendMessageW(self, WM_SETICON, ICON_BIG, icon(GetSystemMetrics(SM_CXICON)));
  SendMessageW(self, WM_SETICON, ICON_SMALL, icon(GetSystemMetrics(SM_CXSMICON)));

  ViewServices::Get().Connect([self] { return IsWindow(self) ? self : nullptr; });
  view_.Create(self, CurrentLayout().view);
  logo_.Create(self, RECT{9, 6, 103, 30}, kLogoId);

  app::CStatSender::Get().Send(L"main", L"open");
  PostMessageW(self, WM_APP_START_OPEN, 0, 0);
  DragAcceptFiles(self, TRUE);
  quit_message_ = RegisterWindowMessageW(ipc::kQuitBroadcastMessage);

  const app::CCommandLine& line = app::CCommandLine::Get();
  if (line.HasSwitch(L"setting")) PostMessageW(self, WM_COMMAND, ID_SETTINGS, 0);
  else if (line.HasSwitch(L"LockscreenSet")) PostMessageW(self, WM_APP_LOCKSCREEN_SETTINGS, 0, 0);

  if (HWND title = GetDlgItem(self, view_render::kCaptionControlId)) {
    SetWindowLongPtrW(title, GWL_STYLE, GetWindowLongPtrW(title, GWL_STYLE) | SS_CENTERIMAGE);
    RECT r{};
    GetWindowRect(title, &r);
    SetWindowPos(title, nullptr, 105, 1, r.right - r.left, 29, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextW(title, L"");
    ShowWindow(title, SW_SHOW);
  }

  font_normal_.reset(MakeCaptionFont(FW_NORMAL));
  font_bold_.reset(MakeCaptionFont(FW_BOLD));
  close_button_.Attach(GetDlgItem(self, ID_CLOSE_REQUEST));
  close_button_.LoadImage(IDP_CAPTION_CLOSE, 3);
  maximise_button_.Attach(GetDlgItem(self, ID_MAXIMISE_RESTORE));
  maximise_button_.LoadImage(IDP_CAPTION_RESTORE, 3);
  minimise_button_.Attach(GetDlgItem(self, ID_MINIMISE));
  minimise_button_.LoadImage(IDP_CAPTION_MINIMISE, 3);

  // The window draws its own caption strip.
  SetWindowLongPtrW(self, GWL_STYLE, GetWindowLongPtrW(self, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CAPTION));
  SetWindowPos(self, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  OnSize();
  if (!IsWindowVisible(self)) ShowWindow(self, SW_SHOW);

  SetForegroundWindow(self);
  SetTimer(self, TIMER_TRAY_CHECK, 1000, nullptr);
  SetTimer(self, TIMER_START_STAT, 1000, nullptr);
  config.quick_indexes = app::CStatWrapper::Get().GetQuickIndex();
  return true;
}

bool CTormaveDlg::PreTranslateMessage(MSG& msg) {
  if (accelerators_ && TranslateAcceleratorW(hwnd(), accelerators_, &msg)) return true;
  if (msg.message == WM_CHAR) return true;
  if (msg.message == WM_MOUSEWHEEL && view_.hwnd() && msg.hwnd != view_.hwnd() &&
      (msg.hwnd == hwnd() || GetParent(msg.hwnd) == hwnd())) {
    // The wheel works wherever the pointer is, also where it reaches the main window itself (a system that
    // sends the wheel to the focus window).
    SendMessageW(view_.hwnd(), WM_MOUSEWHEEL, msg.wParam, msg.lParam);
    if (msg.hwnd == hwnd()) return true;
  }
  if (quit_message_ && msg.message == quit_message_) {
    EndDialog(IDCANCEL);
    return true;
  }
  view_.PreTranslateMessage(msg);
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
    case WM_SYSCOMMAND:
      // Alt pressed and released alone (as around Alt + wheel) would start keyboard menu mode on the hidden
      // system menu and eat the next key; Alt + Space still opens the system menu.
      if ((wp & 0xFFF0) == SC_KEYMENU && lp == 0) {
        result = 0;
        return true;
      }
      return false;
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
    case WM_NCPAINT:
      OnNcPaint();
      return true;
    case WM_NCACTIVATE:
      // The strip of frame the window region leaves keeps the canvas colour when focus moves.
      OnNcPaint();
      result = TRUE;
      return true;
    case WM_CTLCOLORSTATIC:
      result = OnCtlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
      return true;
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED) OnSize();
      return false;
    case WM_ENTERSIZEMOVE:
      view_.BeginSizing();
      return false;
    case WM_EXITSIZEMOVE:
      view_.EndSizing();
      return false;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lp));
      return true;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wp));
      return true;
    case WM_APP_VIEW_REFRESH:
      InvalidateRect(hwnd(), nullptr, FALSE);
      view_.ShowPicture();
      return true;
    case WM_APP_START_OPEN:
      OnStartOpen();
      return true;
    case WM_APP_OPEN_FROM_INSTANCE:
      OnOpenFromInstance(reinterpret_cast<const wchar_t*>(wp));
      result = 0;
      return true;
    case WM_APP_ASK_DEFAULT_VIEWER:
      return true;  // the prompt comes with the association settings
    case WM_MENU_RESULT:
      switch (static_cast<int>(wp)) {
        case ID_OPEN: case ID_TOPMOST: case ID_WHEEL_PAGES: case ID_WHEEL_ZOOM: case ID_SETTINGS: case ID_ABOUT:
        case ID_FEEDBACK: case ID_DEFAULT_VIEWER:
          OnCommand(static_cast<WORD>(wp));
          break;
      }
      return true;
    case view_render::WM_APP_TITLE_WIDTH:
      OnTitleWidth(static_cast<int>(wp), static_cast<int>(lp));
      return true;
    case WM_COMMAND:
      if (HIWORD(wp) <= 1 && LOWORD(wp) != IDOK && LOWORD(wp) != IDCANCEL) {
        OnCommand(LOWORD(wp));
        return true;
      }
      break;
  }
  return CModalDialog::OnMessage(msg, wp, lp, result);
}

LRESULT CTormaveDlg::OnCtlColorStatic(HDC dc, HWND control) {
  SetBkColor(dc, kCanvasColour);
  if (GetDlgCtrlID(control) == view_render::kCaptionControlId) {
    SetTextColor(dc, kTitleColour);
    const bool has_title = !ViewServices::Get().title().GetFileName().empty();  // the title is empty without one
    SelectObject(dc, has_title ? font_normal_.get() : font_bold_.get());
  }
  return reinterpret_cast<LRESULT>(brush_.get());
}

LRESULT CTormaveDlg::OnCopyData(const COPYDATASTRUCT* data) {
  if (closing_) return 0;  // the sender then starts its own copy
  std::wstring text;
  if (!ipc::ReadHandOff(data, text)) return 0;
  app::CCommandLine line;
  line.Parse(text);
  if (line.HasSwitch(L"setting")) {
    ToggleTopmost(hwnd());
    PostMessageW(hwnd(), WM_COMMAND, ID_SETTINGS, 0);
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
  if (path) OpenPath(path);
}

void CTormaveDlg::OpenPath(const std::wstring& path) {
  image::CCurrentPicture::Instance().Open(path);
  view_.ShowPicture();
}

void CTormaveDlg::OnDropFiles(HDROP drop) {
  wchar_t path[MAX_PATH + 1] = {};
  const UINT n = DragQueryFileW(drop, 0, path, MAX_PATH + 1);
  DragFinish(drop);
  if (n == 0 || n > MAX_PATH) return;
  if (image::ClassifyImagePath(path) != image::IMG_UNKNOWN) OpenPath(path);
}

void CTormaveDlg::OnStartOpen() {
  InvalidateRect(hwnd(), nullptr, FALSE);
  UpdateWindow(hwnd());
  OpenPath(app::CCommandLine::Get().GetFileToOpen());
  default_viewer_check_.Start(hwnd());
}

void CTormaveDlg::OnTitleWidth(int width, int height) {
  logo_.Switch(current_path().empty());
  HWND title = GetDlgItem(hwnd(), view_render::kCaptionControlId);
  if (!title) return;
  RECT logo{};
  GetClientRect(logo_.hwnd(), &logo);
  SetWindowPos(title, nullptr, TitleLeft(logo.right), 1, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(title, nullptr, TRUE);
}

void CTormaveDlg::RequestClose() {
  closing_ = true;
  PostMessageW(hwnd(), quit_message_, 0, 0);
  SendMessageW(hwnd(), WM_CLOSE, 0, 0);
  SetTimer(hwnd(), TIMER_FORCE_EXIT, 1000, nullptr);
}

void CTormaveDlg::OnClose() {
  view_.CloseWheelPrompt();
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
  if (full_screen_) {
    OnCommand(ID_FULL_SCREEN);
    return;
  }
  EndDialog(IDCANCEL);
}

void CTormaveDlg::OnDestroy() {
  app::CAppConfig& config = app::CAppConfig::Get();
  // Full screen is not a place to come back to: the placement is the one it left.
  if (saved_rect_) {
    SetWindowLongPtrW(hwnd(), GWL_STYLE, (GetWindowLongPtrW(hwnd(), GWL_STYLE) & ~WS_POPUP) | WS_THICKFRAME);
    const RECT& r = *saved_rect_;
    SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  config.CaptureWindowPlacement(hwnd());
  config.Save();
  if (view_.hwnd()) DestroyWindow(view_.hwnd());
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

MainLayout CTormaveDlg::CurrentLayout() const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  return ComputeMainLayout(client.right, client.bottom, app::CAppConfig::Get().toolbar_dock != 0);
}

void CTormaveDlg::Relayout(const MainLayout& layout) { Place(view_.hwnd(), layout.view); }

void CTormaveDlg::OnSize() {
  // A plain rectangle from one pixel left of the client area to two beyond it: the frame is cut off.
  RECT client{}, window{};
  GetClientRect(hwnd(), &client);
  GetWindowRect(hwnd(), &window);
  POINT origin{0, 0};
  ClientToScreen(hwnd(), &origin);
  const int left = origin.x - window.left - 1, top = origin.y - window.top;
  SetWindowRgn(hwnd(), CreateRectRgn(left, top, left + client.right + 3, top + client.bottom + 2), TRUE);

  const MainLayout layout = CurrentLayout();
  Place(close_button_.hwnd(), layout.close);
  Place(maximise_button_.hwnd(), layout.maximise);
  Place(minimise_button_.hwnd(), layout.minimise);
  const int maximise_picture = IsZoomed(hwnd()) ? IDP_CAPTION_RESTORE : IDP_CAPTION_MAXIMISE;
  if (maximise_button_.hwnd() && maximise_button_.resource_id() != maximise_picture)
    maximise_button_.LoadImage(maximise_picture, 3);
  Relayout(layout);
  InvalidateRect(hwnd(), nullptr, FALSE);
  SetTimer(hwnd(), TIMER_SIZE_SETTLE, 50, nullptr);
}

void CTormaveDlg::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  RECT client;
  GetClientRect(hwnd(), &client);
  FillRect(dc, &client, brush_.get());
  FrameRect(dc, &client, brush_.get());
  EndPaint(hwnd(), &ps);
}

void CTormaveDlg::OnNcPaint() {
  // The region keeps a pixel of frame left of the client area and two right of and below it; they are
  // painted as the canvas so the window has no light edge.
  HDC dc = GetWindowDC(hwnd());
  if (!dc) return;
  RECT window{}, client{};
  GetWindowRect(hwnd(), &window);
  GetClientRect(hwnd(), &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd(), &origin);
  OffsetRect(&client, origin.x - window.left, origin.y - window.top);
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  RECT all{0, 0, window.right - window.left, window.bottom - window.top};
  FillRect(dc, &all, brush_.get());
  ReleaseDC(hwnd(), dc);
}

void CTormaveDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
  info->ptMinTrackSize = {700, 500};
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  // Maximised, the window keeps the taskbar visible.
  info->ptMaxSize.y = work.bottom - work.top + (info->ptMaxPosition.y < 0 ? -2 * info->ptMaxPosition.y : 0);
}

}  // namespace main_view
