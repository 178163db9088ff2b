// The main window's commands: keys of the accelerator table, clicks of the view's items and of the
// caption buttons, and choices relayed from menus.
#include <windows.h>
#include <commdlg.h>
#include <shlwapi.h>

#include <string>

#include "app/app_config.h"
#include "app/language.h"
#include "image/current_picture.h"
#include "image/format_table.h"
#include "main_view/main_dlg.h"
#include "main_view/main_messages.h"
#include "main_view/view_services.h"
#include "view_render/system_cache.h"

namespace main_view {
namespace {

// "label|pattern||" with the separators turned into the NULs the dialog wants.
std::wstring DialogFilter(std::wstring filter) {
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  return filter;
}

// The open dialog (single selection) starting in folder; empty when cancelled.
std::wstring DlgOpenFile(HWND owner, const std::wstring& folder) {
  const std::wstring filter = DialogFilter(image::OpenFilter(app::GetLanguageString(L"FILE", L"SUPPORT_FILE")));
  std::wstring buffer(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&ofn)) return {};
  return buffer.c_str();
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

void CTormaveDlg::OnCommand(WORD id) {
  app::CAppConfig& config = app::CAppConfig::Get();
  switch (id) {
    case ID_CLOSE_REQUEST:
      RequestClose();
      break;
    case ID_MAXIMISE_RESTORE:
      SendMessageW(hwnd(), WM_SYSCOMMAND, IsZoomed(hwnd()) ? SC_RESTORE : SC_MAXIMIZE, 0);
      break;
    case ID_MINIMISE:
      SendMessageW(hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
      break;
    case ID_FIT_ACTUAL:
      view_.ToggleFitActual();
      break;
    case ID_ZOOM_IN:
    case ID_ZOOM_OUT:
      view_.ZoomStep(id == ID_ZOOM_IN ? 1 : 0);
      break;
    case ID_PREVIOUS:
    case ID_NEXT:
      MoveInFolder(id == ID_PREVIOUS ? -1 : +1);
      break;
    case ID_FULL_SCREEN:
      ToggleFullScreen();
      break;
    case ID_OPEN:
      OpenWithDialog();
      break;
    case ID_TOPMOST: {
      const bool topmost = (GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
      SetWindowPos(hwnd(), topmost ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      break;
    }
    case ID_WHEEL_PAGES:
    case ID_WHEEL_ZOOM:
      config.mouse_wheel_action = id == ID_WHEEL_ZOOM ? 1 : 0;
      config.show_wheel_favorite = 0;
      break;
    case ID_TOOLBAR_TOP:
    case ID_TOOLBAR_BOTTOM:
      config.toolbar_dock = id == ID_TOOLBAR_BOTTOM ? 1 : 0;
      Relayout(CurrentLayout());
      break;
    case ID_REDRAW:
      if (view_.hwnd()) view_.ShowPicture();
      break;
    case ID_SCROLL_UP:
    case ID_SCROLL_DOWN:
      view_.ScrollPage(id);
      break;
    default:
      break;  // the commands of windows still to come
  }
}

void CTormaveDlg::MoveInFolder(int offset) {
  const std::wstring path = ViewServices::Get().folder_list().GetNeighbourPath(offset);
  if (path.empty()) return;  // the start or end of a folder without wrap-around
  view_render::CSystemCache::Get().SetDirection(offset < 0 ? 2 : 1);
  OpenPath(path);
}

void CTormaveDlg::OpenWithDialog() {
  const std::wstring chosen = DlgOpenFile(hwnd(), FolderOf(current_path()));
  if (!chosen.empty()) OpenPath(chosen);
}

void CTormaveDlg::ToggleFullScreen() {
  HWND self = hwnd();
  const LONG_PTR style = GetWindowLongPtrW(self, GWL_STYLE);
  if (!full_screen_) {
    full_screen_ = true;
    ShowWindow(maximise_button_.hwnd(), SW_HIDE);
    ShowWindow(minimise_button_.hwnd(), SW_HIDE);
    RECT r{};
    GetWindowRect(self, &r);
    saved_rect_ = r;
    SetWindowLongPtrW(self, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_THICKFRAME)) | WS_POPUP);
    SetWindowPos(self, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_NOZORDER | SWP_FRAMECHANGED);
  } else {
    full_screen_ = false;
    SetWindowLongPtrW(self, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_THICKFRAME);
    if (saved_rect_) {
      const RECT& r = *saved_rect_;
      SetWindowPos(self, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    saved_rect_.reset();
    ShowWindow(maximise_button_.hwnd(), SW_SHOW);
    ShowWindow(minimise_button_.hwnd(), SW_SHOW);
  }
  Relayout(CurrentLayout());
  UpdateWindow(self);
}

}  // namespace main_view
