#pragma once
// CAppConfig: the user's settings, one process-wide instance loaded from %APPDATA%\Vistroma\config.ini
// with the system's profile functions. Members are plain and read or assigned directly on the UI thread;
// workers only read 32-bit members that the UI thread alone changes. Callers that change a member call Save.
#include <windows.h>

#include <cstdint>
#include <string>

#include "basic_lib/scoped_handle.h"

namespace app {

class CAppConfig {
 public:
  // The one instance, loaded on first use.
  static CAppConfig& Get();
  // An instance over another file (tests, tools); loads it at once.
  explicit CAppConfig(std::wstring file);
  CAppConfig(const CAppConfig&) = delete;
  CAppConfig& operator=(const CAppConfig&) = delete;

  void Load();
  void Save();
  // Only "show_wheel_favorite" and "mouse_wheel_action", by the same rules as Load.
  void ReloadWheelKeys();
  // Section "Default", key "sniptool_hotkey"; 0 when absent.
  [[nodiscard]] int ReadSnipHotkey() const;
  // "MAX" when maximised, else "left_top_right_bottom" of the window rectangle.
  void CaptureWindowPlacement(HWND window);
  // Sizes and places the main window from last_position (the default rectangle when it is empty).
  void ApplyStartPlacement(HWND window);

  [[nodiscard]] const std::wstring& file() const { return file_; }
  [[nodiscard]] HBRUSH canvas_brush() const { return canvas_brush_.get(); }

  std::wstring last_position;
  int max_zoom_ratio = 8;
  int view_margin = 24;
  COLORREF canvas_back_color = RGB(39, 39, 39);
  int hardware_zoom = 0;
  int gps_map_vendor = 0;
  int toolbar_dock = 1;
  std::wstring language_id;
  int show_delete_confirm = 1;
  int mouse_wheel_action = 99;
  int show_wheel_favorite = 1;
  int double_click_action = 0;
  int view_folder_loop = 0;
  int rotate_auto_save = 0;
  int long_image_mode = 0;
  int save_jpeg_quality = 80;
  int preload_enable = 1;
  int orientation_by_tag = 0;
  int ignore_embedded_icc = 0;
  int only_one_instance = 0;
  int completely_exit = 0;
  int quick_indexes = 1;  // the statistics component's switch; not stored here
  int set_default_viewer = 0;
  int default_viewer_start_tip = 1;
  int user_set_default_viewer = 0;
  int lockscreen_enable = 0;
  int lockscreen_time = 210;
  int lockscreen_default_opt_time = 210;
  int lockscreen_user_changed_time = 0;
  // Not stored in the file: the state of the view that several windows share.
  int enhancement_level = 0;
  int info_window_shown = 0;
  int fit_state = 1;

 private:
  // The value of a key, or false when it is absent or empty.
  bool ReadNumber(const wchar_t* section, const wchar_t* key, std::int64_t& out) const;
  bool ReadText(const wchar_t* section, const wchar_t* key, std::wstring& out) const;
  void Write(const wchar_t* section, const wchar_t* key, const std::wstring& value) const;
  void Write(const wchar_t* section, const wchar_t* key, std::int64_t value) const;
  void ReadFlag(const wchar_t* key, int& member) const;
  void ReadClamped(const wchar_t* key, int& member, int low, int high) const;

  std::wstring file_;
  bool had_language_id_ = false;
  int enable_snapshot_ = 0;
  int time_snapshot_ = 210;
  basic_lib::ScopedBrush canvas_brush_;
};

}  // namespace app
