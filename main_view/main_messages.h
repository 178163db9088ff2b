#pragma once
// The main window's private messages, timers and command ids, as other windows and processes post them.
#include <windows.h>

namespace main_view {

inline constexpr UINT WM_APP_VIEW_REFRESH = 0x81FC;
inline constexpr UINT WM_APP_START_OPEN = 0x81FE;
inline constexpr UINT WM_APP_OPEN_FROM_INSTANCE = 0x81FF;
inline constexpr UINT WM_APP_ASK_DEFAULT_VIEWER = 0x8200;
inline constexpr UINT WM_APP_QUICK_INDEX_CHANGED = 0x8201;
inline constexpr UINT WM_APP_SET_DEFAULT_VIEWER = 0x8202;
inline constexpr UINT WM_MENU_RESULT = 0x8203;
inline constexpr UINT WM_APP_FEEDBACK_CLOSED = 0x8204;
inline constexpr UINT WM_APP_SAVE_DONE = 0x8205;
inline constexpr UINT WM_APP_LOCKSCREEN_SETTINGS = 0x8206;
inline constexpr UINT WM_COPYGLOBALDATA = 0x0049;

inline constexpr UINT_PTR TIMER_FORCE_EXIT = 4096;
inline constexpr UINT_PTR TIMER_TRAY_CHECK = 4097;
inline constexpr UINT_PTR TIMER_START_STAT = 4098;
inline constexpr UINT_PTR TIMER_SIZE_SETTLE = 4099;

inline constexpr int kMainDialogTemplate = 102;
inline constexpr WORD ID_CLOSE_REQUEST = 1023;
inline constexpr WORD ID_MAXIMISE_RESTORE = 1026;
inline constexpr WORD ID_MINIMISE = 1027;

inline constexpr COLORREF kCanvasColour = RGB(0x27, 0x27, 0x27);

}  // namespace main_view
