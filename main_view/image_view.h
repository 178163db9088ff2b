#pragma once
// WndMainImageView: the large child of the main window that shows the picture. Its background is the
// picture drawn by the view renderer; its items are the state displays around it (welcome page, loading,
// load error, missing file, saving, page-turn arrows). It turns the mouse into zoom, pan and page
// commands for the main window. UI thread only.
#include <windows.h>

#include <functional>
#include <memory>

#include "view_render/view_renderer.h"
#include "widget_window/widget_window.h"

namespace main_view {

inline constexpr UINT kImageViewId = 101;

class WndMainImageView : public widget_window::CWidgetWindow {
 public:
  WndMainImageView() = default;

  HWND Create(HWND parent, const RECT& rect);

  void ShowPicture();
  void BeginSizing() { sizing_ = true; }
  void EndSizing();
  void OnViewSize();
  void ScrollPage(int command);
  void ZoomStep(int in);
  void ToggleFitActual();
  // direction 0 turns left, 1 right. The rotator turns the current picture itself; without one, or for
  // an animation, nothing happens.
  void Rotate(int direction);
  void SetRotator(std::function<void(int direction)> rotator);
  void ShowSavingTip();
  void HideSavingTip();
  void CloseWheelPrompt();

  [[nodiscard]] view_render::CViewRenderer* renderer() const { return renderer_.get(); }
  [[nodiscard]] bool sizing() const { return sizing_; }
  // The client rectangle less the view margin on the left, right and bottom, unless the toolbar is docked.
  [[nodiscard]] RECT ViewArea() const;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void DrawBackground(HDC dc, const RECT& area) override;
  LRESULT OnLButtonDown(int x, int y) override;
  LRESULT OnLButtonDblClk(int x, int y) override;

 private:
  void OnMouseWheel(WPARAM wp, LPARAM lp);
  void OnFolderListChanged();
  void RemoveTransientItems();
  void ShowArrows();
  bool ClickItem(widget_window::CWidgetItem* item);
  void DragToPan(int x, int y);
  void Repaint();
  [[nodiscard]] HWND MainWindow() const;

  std::unique_ptr<view_render::CViewRenderer> renderer_;
  bool sizing_ = false;
  std::function<void(int)> rotator_;
};

}  // namespace main_view
