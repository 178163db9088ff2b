#pragma once
// A notification from a control to its window: a type string such as "click", "itemselect",
// "selectchanged", "textchanged", "setfocus", "killfocus", "windowinit", "mouseenter", "mouseleave",
// "tabselect", and the control that sent it (null for "windowinit").
#include <windows.h>

#include <string>

#include "ui_toolkit/control.h"

namespace ui_toolkit {

struct TNotifyUI {
  std::wstring type;
  CControlUI* sender = nullptr;
  WPARAM wparam = 0;
  LPARAM lparam = 0;
};

}  // namespace ui_toolkit
