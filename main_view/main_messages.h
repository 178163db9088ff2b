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

// Commands of the main window.
inline constexpr WORD ID_INFO = 20000, ID_LOCATION = 20001, ID_FIT_ACTUAL = 20002, ID_ZOOM_IN = 20003,
                      ID_ZOOM_OUT = 20004, ID_PREVIOUS = 20005, ID_NEXT = 20006, ID_ROTATE_LEFT = 20007,
                      ID_ROTATE_RIGHT = 20008, ID_DELETE = 20009, ID_RESIZE = 20010, ID_ENHANCE = 20011,
                      ID_MAIN_MENU = 20012, ID_FULL_SCREEN = 20013, ID_CONVERT = 20014, ID_OPEN = 21000,
                      ID_SAVE_AS = 21001, ID_COPY = 21002, ID_SHOW_IN_FOLDER = 21003, ID_PRINT = 21100,
                      ID_WALLPAPER = 21101, ID_TOPMOST = 21600, ID_WHEEL_PAGES = 21700, ID_WHEEL_ZOOM = 21701,
                      ID_TOOLBAR_TOP = 21750, ID_TOOLBAR_BOTTOM = 21751, ID_SETTINGS = 21800, ID_ABOUT = 21801,
                      ID_REDRAW = 21802, ID_OPEN_WITH = 21803, ID_FEEDBACK = 21804, ID_SCROLL_UP = 26000,
                      ID_SCROLL_DOWN = 26001, ID_DEFAULT_VIEWER = 26002;

inline constexpr COLORREF kCanvasColour = RGB(0x27, 0x27, 0x27);

}  // namespace main_view
