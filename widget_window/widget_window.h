#pragma once
// The lightweight child windows of the main window: a CWidgetWindow owns drawable items (CWidgetItem),
// places them with a CWidgetLayout, paints them through one memory bitmap, tracks the item under the
// mouse, runs its own capture loop for presses, and shows the items' tooltips. FCTimerNotify is a timer
// with a virtual callback and no window. UI thread only.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "basic_lib/scoped_handle.h"
#include "image/obj_image.h"

namespace widget_window {

inline constexpr UINT kItemHover = 0x01, kItemPressed = 0x02, kItemVisible = 0x04, kItemEnabled = 0x08,
                      kItemChecked = 0x10;

// The font items draw with unless their window sets another: the menu font at 9 points.
[[nodiscard]] HFONT DefaultWidgetFont();

class CWidgetItem {
 public:
  CWidgetItem() = default;
  CWidgetItem(const CWidgetItem&) = delete;
  CWidgetItem& operator=(const CWidgetItem&) = delete;
  virtual ~CWidgetItem() = default;
  virtual void OnMouseEnter() {}
  virtual void OnMouseLeave() {}
  // Draws with the DC's viewport origin at the item's top-left corner.
  virtual void Paint(HDC dc) = 0;
  virtual void AddTool(HWND tooltip, HWND window, UINT tool_id);

  [[nodiscard]] bool Is(UINT bits) const { return (state & bits) == bits; }

  int id = 0;
  int group = 0;
  UINT state = kItemVisible | kItemEnabled;
  RECT rect{};
  std::wstring text;  // the tooltip
};

class CWidgetLayout {
 public:
  virtual ~CWidgetLayout() = default;
  virtual void Layout(HWND window, std::vector<std::unique_ptr<CWidgetItem>>& items) = 0;
};

class FCTrackMouseHover {
 public:
  virtual ~FCTrackMouseHover() = default;
  virtual void OnMouseEnter() {}
  virtual void OnMouseLeave() {}

 protected:
  // Handles WM_MOUSEMOVE and WM_MOUSELEAVE for the tracking, repainting the window when it changes.
  void TrackMessage(HWND hwnd, UINT msg);

 private:
  bool tracking_ = false;
};

class CWidgetWindow : public FCTrackMouseHover {
 public:
  CWidgetWindow() = default;
  CWidgetWindow(const CWidgetWindow&) = delete;
  CWidgetWindow& operator=(const CWidgetWindow&) = delete;
  ~CWidgetWindow() override;

  HWND Create(HWND parent, const RECT& rect, UINT id, DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
  [[nodiscard]] HWND hwnd() const { return hwnd_; }

  void AddItem(std::unique_ptr<CWidgetItem> item, int index = -1);
  // Destroys every item with this id.
  void RemoveItem(int id);
  [[nodiscard]] CWidgetItem* FindItem(int id) const;
  void SetLayout(std::unique_ptr<CWidgetLayout> layout) { layout_ = std::move(layout); }
  [[nodiscard]] CWidgetItem* HitTest(int x, int y) const;
  void UpdateHover(int x, int y);
  [[nodiscard]] const std::vector<std::unique_ptr<CWidgetItem>>& items() const { return items_; }
  [[nodiscard]] HWND tooltip() const { return tooltip_; }
  // Relays a message to the tooltip before it is dispatched.
  void PreTranslateMessage(const MSG& msg);

  virtual void RecalcLayout();
  virtual void CreateToolTip();
  virtual void DrawBackground(HDC dc, const RECT& area) { (void)dc, (void)area; }
  virtual LRESULT OnItemMouseDown(CWidgetItem* item) { (void)item; return 0; }
  virtual CWidgetItem* OnMouseUp(CWidgetItem* pressed, int x, int y, bool inside);
  virtual CWidgetItem* OnItemClick(CWidgetItem* item) { return item; }
  virtual LRESULT OnLButtonDown(int x, int y);
  virtual LRESULT OnLButtonDblClk(int x, int y) { return OnLButtonDown(x, y); }
  void OnMouseLeave() override { UpdateHover(-65535, -65535); }

 protected:
  virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);

 private:
  static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Paint();
  void Invalidate(const RECT* r) const;

  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  std::unique_ptr<CWidgetLayout> layout_;
  std::vector<std::unique_ptr<CWidgetItem>> items_;
  HFONT font_ = nullptr;  // null: the default font
};

class FCTimerNotify {
 public:
  FCTimerNotify();
  FCTimerNotify(const FCTimerNotify&) = delete;
  FCTimerNotify& operator=(const FCTimerNotify&) = delete;
  virtual ~FCTimerNotify();
  UINT_PTR StartTimer(UINT interval_ms);
  void StopTimer();
  virtual void OnTimer() = 0;
  [[nodiscard]] UINT_PTR timer_id() const { return id_; }
  [[nodiscard]] static bool MapExists();

 private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
  UINT_PTR id_ = 0;
};

// A picture item: a premultiplied 32-bit image drawn at the item's top-left corner.
class CWidgetItemImage : public CWidgetItem {
 public:
  image::FCObjImage picture;
  void Paint(HDC dc) override;
};

// A button drawn from a sprite sheet: one column per button face, one row per state (normal, hot,
// disabled), cells the size of the button.
class CWidgetItemBitmapButton : public CWidgetItem {
 public:
  std::shared_ptr<const image::FCObjImage> sheet;
  int column = 0;
  void Paint(HDC dc) override;
};

}  // namespace widget_window
