#pragma once
// DlgMouseWheelFavorite2: asks once what the mouse wheel should do over a picture (turn pages or zoom)
// and stores the answer in the settings itself. While one exists it can be found through Current(), so
// the view ignores the wheel and the main window can close it. UI thread only.
#include <windows.h>

#include "ui_toolkit/window.h"

namespace popup_dialog {

class DlgMouseWheelFavorite2 : public ui_toolkit::CWindowUI {
 public:
  DlgMouseWheelFavorite2();
  ~DlgMouseWheelFavorite2() override;

  [[nodiscard]] static DlgMouseWheelFavorite2* Current();
  // Runs the prompt over the owner; its close code.
  static int Run(HWND owner);

  [[nodiscard]] int action() const { return action_; }
  [[nodiscard]] bool no_tip() const { return no_tip_; }

 protected:
  void InitWindow() override;
  void Notify(ui_toolkit::TNotifyUI& msg) override;

 private:
  void Finish();

  int action_ = 0;     // 0 turn pages, 1 zoom
  bool no_tip_ = true;  // do not ask again
};

}  // namespace popup_dialog
