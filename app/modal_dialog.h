#pragma once
// A modal dialog from a dialog template, with its own loop so the dialog sees every message first
// (accelerators, keys aimed at child windows, registered messages) as PreTranslateMessage. Handlers are
// virtual members; a message a handler takes returns its result to the sender.
// UI thread only.
#include <windows.h>

namespace app {

class CModalDialog {
 public:
  explicit CModalDialog(int template_id) : template_id_(template_id) {}
  CModalDialog(const CModalDialog&) = delete;
  CModalDialog& operator=(const CModalDialog&) = delete;
  virtual ~CModalDialog();

  // Creates the dialog, runs it until EndDialog, destroys it; the EndDialog result, or -1 when the
  // template cannot be made into a window.
  INT_PTR DoModal(HWND owner = nullptr);
  // Creates it without running it (tests drive it with messages); null on failure.
  HWND Create(HWND owner = nullptr);
  void EndDialog(INT_PTR result);
  [[nodiscard]] HWND hwnd() const { return hwnd_; }
  [[nodiscard]] bool ended() const { return ended_; }

  // Keys and messages before they are dispatched; true when handled.
  virtual bool PreTranslateMessage(MSG& msg);

 protected:
  virtual bool OnInitDialog() { return true; }
  // True when handled, with the result for the sender.
  virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  // Called on WM_DESTROY, while the window still exists.
  virtual void OnDestroy() {}

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  int template_id_;
  HWND hwnd_ = nullptr;
  bool ended_ = false;
  INT_PTR result_ = 0;
};

}  // namespace app
