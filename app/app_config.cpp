#include "app/app_config.h"

#include <vector>

#include "app/app_paths.h"
#include "app/config_rules.h"
#include "app/language.h"
#include "app/my_log.h"

namespace app {
namespace {

constexpr wchar_t kApp[] = L"app";
constexpr wchar_t kLockscreen[] = L"lockscreen";
constexpr wchar_t kAbsent[] = L"\n";

PlacementRect WorkArea() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left, work.top, work.right, work.bottom};
}

}  // namespace

CAppConfig& CAppConfig::Get() {
  static CAppConfig config(GetDataFolder() + L"config.ini");
  return config;
}

CAppConfig::CAppConfig(std::wstring file) : file_(std::move(file)) {
  Load();
  SelectLanguageFile(*this, had_language_id_);
  canvas_brush_.reset(CreateSolidBrush(canvas_back_color));
}

bool CAppConfig::ReadNumber(const wchar_t* section, const wchar_t* key, std::int64_t& out) const {
  wchar_t buffer[32] = {};
  GetPrivateProfileStringW(section, key, kAbsent, buffer, 32, file_.c_str());
  if (buffer[0] == L'\0' || wcscmp(buffer, kAbsent) == 0) return false;
  out = ParseProfileInt64(buffer);
  return true;
}

bool CAppConfig::ReadText(const wchar_t* section, const wchar_t* key, std::wstring& out) const {
  std::vector<wchar_t> buffer(256);
  DWORD n = GetPrivateProfileStringW(section, key, kAbsent, buffer.data(), 256, file_.c_str());
  if (n >= 249) {
    buffer.assign(4096, L'\0');
    n = GetPrivateProfileStringW(section, key, kAbsent, buffer.data(), 4096, file_.c_str());
  }
  const std::wstring value(buffer.data(), n);
  if (value.empty() || value == kAbsent) return false;
  out = value;
  return true;
}

void CAppConfig::ReadFlag(const wchar_t* key, int& member) const {
  if (std::int64_t v; ReadNumber(kApp, key, v)) member = ToFlag(v);
}

void CAppConfig::ReadClamped(const wchar_t* key, int& member, int low, int high) const {
  if (std::int64_t v; ReadNumber(kApp, key, v)) member = Clamp32(v, low, high);
}

void CAppConfig::Load() {
  VLOG_INFO << L"CAppConfig:" << file_;
  ReadClamped(L"max_zoom_ratio", max_zoom_ratio, 4, 32);
  ReadClamped(L"view_margin", view_margin, 0, 64);
  if (std::wstring text; ReadText(kApp, L"canvas_back_color", text))
    if (const auto colour = ParseCanvasColour(text)) canvas_back_color = *colour;
  ReadFlag(L"hardware_zoom", hardware_zoom);
  ReadFlag(L"gps_map_vendor", gps_map_vendor);
  ReadFlag(L"toolbar_dock", toolbar_dock);
  had_language_id_ = false;
  if (std::wstring text; ReadText(kApp, L"language_id", text)) {
    language_id = text;
    had_language_id_ = true;
  }
  ReadFlag(L"show_delete_confirm", show_delete_confirm);
  ReloadWheelKeys();
  ReadFlag(L"double_click_action", double_click_action);
  ReadFlag(L"view_folder_loop", view_folder_loop);
  ReadFlag(L"rotate_auto_save", rotate_auto_save);
  ReadFlag(L"long_image_mode", long_image_mode);
  ReadClamped(L"save_jpeg_quality", save_jpeg_quality, 0, 100);
  ReadFlag(L"preload_enable", preload_enable);
  ReadFlag(L"orientation_by_tag", orientation_by_tag);
  ReadFlag(L"ignore_embedded_icc", ignore_embedded_icc);
  ReadFlag(L"only_one_instance", only_one_instance);
  ReadFlag(L"completely_exit", completely_exit);
  ReadFlag(L"set_default_viewer", set_default_viewer);
  ReadFlag(L"default_viewer_start_tip", default_viewer_start_tip);
  ReadFlag(L"user_set_default_viewer", user_set_default_viewer);
  if (std::int64_t v; ReadNumber(kLockscreen, L"enable", v)) {
    VLOG_INFO << L"CAppConfig enable:" << v;
    lockscreen_enable = v == 1 ? 1 : 0;
  }
  if (std::int64_t v; ReadNumber(kLockscreen, L"time", v)) lockscreen_time = Low32(v);
  if (std::int64_t v; ReadNumber(kLockscreen, L"default_opt_time", v)) lockscreen_default_opt_time = Low32(v);
  if (std::int64_t v; ReadNumber(kLockscreen, L"user_changed_time", v)) lockscreen_user_changed_time = ToFlag(v);
  enable_snapshot_ = lockscreen_enable;
  time_snapshot_ = lockscreen_time;
}

void CAppConfig::ReloadWheelKeys() {
  // The favourite flag is read first: it decides what the action becomes.
  ReadFlag(L"show_wheel_favorite", show_wheel_favorite);
  if (std::int64_t v; ReadNumber(kApp, L"mouse_wheel_action", v)) mouse_wheel_action = NormaliseWheelAction(v, 0);
  if (show_wheel_favorite == 1) mouse_wheel_action = kWheelActionAsk;
}

int CAppConfig::ReadSnipHotkey() const {
  std::int64_t v = 0;
  return ReadNumber(L"Default", L"sniptool_hotkey", v) ? Low32(v) : 0;
}

void CAppConfig::Write(const wchar_t* section, const wchar_t* key, const std::wstring& value) const {
  WritePrivateProfileStringW(section, key, value.c_str(), file_.c_str());
}

void CAppConfig::Write(const wchar_t* section, const wchar_t* key, std::int64_t value) const {
  Write(section, key, std::to_wstring(value));
}

void CAppConfig::Save() {
  Write(kApp, L"last_position", last_position);
  Write(kApp, L"max_zoom_ratio", max_zoom_ratio);
  Write(kApp, L"view_margin", view_margin);
  Write(kApp, L"canvas_back_color", FormatCanvasColour(canvas_back_color));
  Write(kApp, L"hardware_zoom", hardware_zoom);
  Write(kApp, L"gps_map_vendor", gps_map_vendor);
  Write(kApp, L"toolbar_dock", toolbar_dock);
  Write(kApp, L"language_id", language_id);
  Write(kApp, L"show_delete_confirm", show_delete_confirm);
  Write(kApp, L"mouse_wheel_action", mouse_wheel_action);
  Write(kApp, L"show_wheel_favorite", show_wheel_favorite);
  Write(kApp, L"double_click_action", double_click_action);
  Write(kApp, L"view_folder_loop", view_folder_loop);
  Write(kApp, L"rotate_auto_save", rotate_auto_save);
  Write(kApp, L"long_image_mode", long_image_mode);
  Write(kApp, L"save_jpeg_quality", save_jpeg_quality);
  Write(kApp, L"preload_enable", preload_enable);
  Write(kApp, L"preload_thread", 3);
  Write(kApp, L"orientation_by_tag", orientation_by_tag);
  Write(kApp, L"ignore_embedded_icc", ignore_embedded_icc);
  Write(kApp, L"only_one_instance", only_one_instance);
  Write(kApp, L"set_default_viewer", set_default_viewer);
  Write(kApp, L"default_viewer_start_tip", default_viewer_start_tip);
  Write(kApp, L"completely_exit", completely_exit);
  Write(kApp, L"user_set_default_viewer", user_set_default_viewer);

  // The lock-screen block belongs to the installer and the tray unless the user changed it here.
  std::int64_t user_changed = 0;
  const bool changed_before = ReadNumber(kLockscreen, L"user_changed_setting", user_changed) && user_changed != 0;
  if (changed_before || lockscreen_enable != enable_snapshot_ || lockscreen_time != time_snapshot_) {
    Write(kLockscreen, L"enable", lockscreen_enable);
    Write(kLockscreen, L"time", lockscreen_time);
    Write(kLockscreen, L"user_changed_time", lockscreen_user_changed_time);
    Write(kLockscreen, L"user_changed_setting", 1);
    Write(kLockscreen, L"default_opt_time", lockscreen_default_opt_time);
  }
}

void CAppConfig::CaptureWindowPlacement(HWND window) {
  if (IsZoomed(window)) {
    last_position = L"MAX";
    return;
  }
  RECT r{};
  GetWindowRect(window, &r);
  last_position = FormatPlacement({r.left, r.top, r.right, r.bottom});
}

void CAppConfig::ApplyStartPlacement(HWND window) {
  const PlacementRect work = WorkArea();
  if (last_position.empty()) last_position = FormatPlacement(DefaultStartRect(work));
  const StartPlacement place = DecideStartPlacement(last_position, work);
  if (place.maximise) {
    ShowWindow(window, SW_SHOWMAXIMIZED);
    return;
  }
  SetWindowPos(window, nullptr, place.rect.left, place.rect.top, place.rect.width(), place.rect.height(),
               SWP_NOACTIVATE | SWP_NOZORDER);
}

}  // namespace app
