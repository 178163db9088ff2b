#pragma once
// The drop-down of a combo: a pop-up owned by the toolkit window, under the combo, listing the combo's
// elements as rows. A click or Enter chooses a row, Esc or a click elsewhere closes it; the choice goes
// back through a callback, so the toolkit window sends the combo's "itemselect".
// UI thread only.
#include <windows.h>

#include <functional>
#include <memory>

#include "ui_toolkit/control.h"
#include "ui_toolkit/layout_document.h"
#include "ui_toolkit/picture.h"
#include "ui_toolkit/toolkit.h"

namespace ui_toolkit {

class CComboDropDown {
 public:
  using ChooseFn = std::function<void(int index)>;

  CComboDropDown(const LayoutDocument& layout, PackageSource source) : layout_(layout), source_(source) {}
  CComboDropDown(const CComboDropDown&) = delete;
  CComboDropDown& operator=(const CComboDropDown&) = delete;
  ~CComboDropDown();

  // Shows the rows of combo under it (host client coordinates) and takes the focus.
  bool Open(HWND host, CControlUI& combo, ChooseFn choose);
  void Close();
  [[nodiscard]] bool IsOpen() const { return hwnd_ != nullptr; }
  [[nodiscard]] HWND hwnd() const { return hwnd_; }
  [[nodiscard]] const CControlUI* combo() const { return combo_; }
  // When it was last dismissed by the focus moving elsewhere, for the click on its own combo that moved
  // the focus not to open it again at once.
  [[nodiscard]] DWORD closed_at() const { return closed_at_; }
  [[nodiscard]] const CControlUI* closed_combo() const { return closed_combo_; }

 private:
  static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
  void Paint(HDC target);
  [[nodiscard]] int RowAt(int y) const;
  [[nodiscard]] int RowCount() const;
  void SetHot(int row);
  void ScrollToShow(int row);
  void Choose(int row);

  const LayoutDocument& layout_;
  PackageSource source_;
  HWND hwnd_ = nullptr;
  CControlUI* combo_ = nullptr;
  ChooseFn choose_;
  int row_height_ = 32;
  int visible_rows_ = 0;
  int first_row_ = 0;
  int hot_ = -1;
  DWORD closed_at_ = 0;
  const CControlUI* closed_combo_ = nullptr;
  std::unique_ptr<CPicture> canvas_;
};

}  // namespace ui_toolkit
