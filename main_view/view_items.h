#pragma once
// The image view's state displays: the page-turn arrows that fade in under the pointer, the loading
// sprite, the load error, the short tips and the welcome page's picture and open button. Each is a
// widget item drawn by the view over the picture. UI thread only.
#include <windows.h>

#include <memory>
#include <string>

#include "basic_lib/scoped_handle.h"
#include "widget_window/widget_window.h"

namespace main_view {

inline constexpr int kItemArrowLeft = 100, kItemArrowRight = 101, kItemLoadError = 102, kItemLoading = 103,
                     kItemOpenButton = 105, kItemSlogan = 106, kItemMissingTip = 107, kItemSavingTip = 108;

class CTurnPageItem : public widget_window::CWidgetItem, public widget_window::FCTimerNotify {
 public:
  // right: the picture mirrored, for the right edge.
  CTurnPageItem(HWND view, bool right);
  [[nodiscard]] int picture_width() const { return picture_.Width(); }
  [[nodiscard]] int opacity() const { return opacity_; }

  void OnMouseEnter() override { Fade(+10); }
  void OnMouseLeave() override { Fade(-10); }
  void OnTimer() override;
  void Paint(HDC dc) override;

 private:
  void Fade(int step);

  HWND view_;
  image::FCObjImage picture_;  // straight alpha: the fade premultiplies the working copy
  image::FCObjImage working_;
  int opacity_ = 0;
  int step_ = 10;
};

class CLoadingGifItem : public widget_window::CWidgetItem, public widget_window::FCTimerNotify {
 public:
  explicit CLoadingGifItem(HWND view);
  [[nodiscard]] const RECT& frame() const { return frame_; }
  void OnTimer() override;
  void Paint(HDC dc) override;

 private:
  HWND view_;
  std::shared_ptr<const image::FCObjImage> sprite_;
  RECT frame_{};  // the current square of the sprite
};

class CLoadErrorItem : public widget_window::CWidgetItem {
 public:
  explicit CLoadErrorItem(std::wstring error);
  void Paint(HDC dc) override;

 private:
  std::wstring error_;
  basic_lib::ScopedFont font_;
};

class CTipItem : public widget_window::CWidgetItem {
 public:
  explicit CTipItem(std::wstring tip);
  [[nodiscard]] const std::wstring& tip() const { return tip_; }
  void Paint(HDC dc) override;

 private:
  std::shared_ptr<const image::FCObjImage> background_;
  std::wstring tip_;
};

class CWelcomeSlogonItem : public widget_window::CWidgetItemImage {
 public:
  CWelcomeSlogonItem();
};

// Three faces side by side: normal, hovered, pressed.
class CWelcomeOpenItem : public widget_window::CWidgetItemBitmapButton {
 public:
  CWelcomeOpenItem();
  [[nodiscard]] SIZE face_size() const;
  void Paint(HDC dc) override;
};

}  // namespace main_view
