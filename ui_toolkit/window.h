#pragma once
// The toolkit window: a top-level window built from a named layout, drawing its control tree through one
// memory bitmap, tracking hover and press, and delivering notifications as type strings to Notify.
// Edits are native EDIT children (input methods, selection and clipboard work as usual).
// UI thread only.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "basic_lib/scoped_handle.h"
#include "ui_toolkit/combo_dropdown.h"
#include "ui_toolkit/layout_document.h"
#include "ui_toolkit/notify.h"
#include "ui_toolkit/picture.h"
#include "ui_toolkit/shadow_window.h"
#include "ui_toolkit/toolkit.h"

namespace ui_toolkit {

class CWindowUI {
 public:
  CWindowUI(std::wstring layout_file, std::wstring window_class,
            PackageSource source = PackageSource::kResourcePackage);
  CWindowUI(const CWindowUI&) = delete;
  CWindowUI& operator=(const CWindowUI&) = delete;
  virtual ~CWindowUI();

  // Loads the layout and creates the window at its size. Null when the layout cannot be read.
  HWND Create(HWND owner, DWORD style, DWORD ex_style);
  [[nodiscard]] HWND hwnd() const { return hwnd_; }
  [[nodiscard]] const LayoutDocument& layout() const { return layout_; }

  [[nodiscard]] CControlUI* FindControl(std::wstring_view name) const;
  [[nodiscard]] std::wstring GetText(const CControlUI* c) const;
  // Edits report "textchanged" for text set here only when notify is true.
  void SetText(CControlUI* c, const std::wstring& text, bool notify = false);
  void SetVisible(CControlUI* c, bool visible);
  void SetEnabled(CControlUI* c, bool enabled);
  // Options clear the others of their group; "selectchanged" goes out only when notify is true.
  void SetSelected(CControlUI* c, bool selected, bool notify = true);
  void SelectItem(CControlUI* list, int index, bool notify = true);
  void SelectTab(CControlUI* tab, int index, bool notify = true);
  // A floating control's "pos" inside its parent.
  void SetPos(CControlUI* c, const Rect& pos);
  // Adds a control made in code to a container and lays the window out again.
  CControlUI* AddControl(CControlUI* parent, std::unique_ptr<CControlUI> child);
  void Relayout();
  void Invalidate(const CControlUI* c = nullptr);

  // Ends a modal run with the code (posts WM_CLOSE with it).
  void Close(int code);
  [[nodiscard]] bool closed() const { return closed_; }
  [[nodiscard]] int close_code() const { return close_code_; }

  // Keyboard handling that must see keys sent to the native edits too: Esc, Enter and Tab.
  [[nodiscard]] bool PreTranslateMessage(const MSG& msg);
  // The shadow around the window, when its layout has one; the open or last drop-down of a combo.
  [[nodiscard]] const CShadowWindow* shadow() const { return shadow_.get(); }
  [[nodiscard]] CComboDropDown* dropdown() const { return dropdown_.get(); }

  // The button Enter presses when no button has the focus.
  void SetDefaultButton(CControlUI* c) { default_button_ = c; }

 protected:
  virtual void InitWindow() {}
  virtual void Notify(TNotifyUI& msg);
  virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
  void SendNotify(const wchar_t* type, CControlUI* sender, WPARAM wp = 0, LPARAM lp = 0);
  // Hit testing for dragging: HTCAPTION over the caption strip except over interactive controls.
  virtual LRESULT OnNcHitTest(POINT client);

 private:
  static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  [[nodiscard]] bool RegisterClassOnce() const;
  void Paint(HDC target, const RECT& clip);
  void OnMouseMove(POINT pt);
  void OnMouseLeave();
  void OnButtonDown(POINT pt);
  void OnButtonUp(POINT pt);
  void Activate(CControlUI* c);
  void DropDown(CControlUI* combo);
  void OnCommand(WPARAM wp, LPARAM lp);
  void CreateNativeEdits(CControlUI& c);
  void PlaceNativeEdits(CControlUI& c);
  void MoveFocus(bool backwards);
  [[nodiscard]] std::vector<CControlUI*> FocusOrder() const;
  [[nodiscard]] HFONT FontFor(int index);
  [[nodiscard]] static bool IsInteractive(const CControlUI* c);

  std::wstring layout_file_;
  std::wstring class_name_;
  PackageSource source_;
  LayoutDocument layout_;
  HWND hwnd_ = nullptr;
  CControlUI* hot_ = nullptr;
  CControlUI* pushed_ = nullptr;
  CControlUI* focused_ = nullptr;
  CControlUI* default_button_ = nullptr;
  bool tracking_leave_ = false;
  bool setting_text_ = false;
  bool closed_ = false;
  int close_code_ = 0;
  std::vector<std::pair<int, basic_lib::ScopedFont>> fonts_;
  std::unique_ptr<CPicture> canvas_;
  std::unique_ptr<CShadowWindow> shadow_;
  std::unique_ptr<CComboDropDown> dropdown_;
};

}  // namespace ui_toolkit
