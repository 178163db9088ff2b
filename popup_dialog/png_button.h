#pragma once
// CPngButton: a push button drawn from a PNG resource of the program (type "PNG") holding 1, 3 or 4
// frames side by side: normal, hot, pressed, disabled. It takes over a button control of a dialog,
// sizes it to one frame and follows the pointer with hover and leave tracking. UI thread only.
#include <windows.h>

#include <memory>

#include "basic_lib/gdiplus.h"

namespace popup_dialog {

class CPngButton {
 public:
  CPngButton() = default;
  CPngButton(const CPngButton&) = delete;
  CPngButton& operator=(const CPngButton&) = delete;
  ~CPngButton();

  // Binds to the button control once; false when it is not there.
  bool Attach(HWND button);
  // Loads the picture of resource id from the program; the button takes one frame's size.
  bool LoadImage(int resource_id, int frames);
  [[nodiscard]] HWND hwnd() const { return hwnd_; }
  // 1 normal, 2 hot, 3 pressed, 4 disabled.
  [[nodiscard]] int state() const;
  [[nodiscard]] int resource_id() const { return resource_id_; }

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  void Paint();
  void SetState(int state);

  HWND hwnd_ = nullptr;
  std::unique_ptr<Gdiplus::Bitmap> picture_;
  int frames_ = 1;
  int resource_id_ = 0;
  int state_ = 1;
  bool tracking_ = false;
};

}  // namespace popup_dialog
