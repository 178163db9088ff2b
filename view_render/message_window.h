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

  // Creates the window with a name (may be null), destroying this object's earlier window first; false
  // when it cannot be made.
  bool CreateMessageWindow(const wchar_t* name = nullptr);
  // Clears the object from the window first, so no message reaches it any more, then destroys the window.
  void DestroyMessageWindow();
  [[nodiscard]] HWND hwnd() const { return hwnd_; }

 protected:
  virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);

 private:
  static LRESULT CALLBACK SharedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
};

}  // namespace view_render
