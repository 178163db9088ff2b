#pragma once
// FCMessageWindow: a hidden message-only window whose messages go to a virtual member of an object. It is
// the UI thread's post box: workers and other processes send to it, the object answers on its own thread.
// The window belongs to the thread that created it.
#include <windows.h>

namespace view_render {

class FCMessageWindow {
 public:
  FCMessageWindow() = default;
  FCMessageWindow(const FCMessageWindow&) = delete;
  FCMessageWindow& operator=(const FCMessageWindow&) = delete;
  virtual ~FCMessageWindow();

  // Creates the window with a name (may be null); false when it cannot be made. Once only.
  bool CreateMessageWindow(const wchar_t* name = nullptr);
  void DestroyMessageWindow();
  [[nodiscard]] HWND hwnd() const { return hwnd_; }

 protected:
  virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);

 private:
  static LRESULT CALLBACK SharedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
};

}  // namespace view_render
