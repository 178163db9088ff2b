#pragma once
// The two hand-off receivers: message-only windows with fixed names that later launches find, each
// passing every WM_COPYDATA on to the process's current main window and answering with its result.
// The normal receiver exists only while "only one instance" is set; the always receiver always does.
// UI thread only.
#include <windows.h>

#include <functional>

#include "view_render/message_window.h"

namespace ipc {

// Where a receiver finds the current main window (null when there is none).
using MainWindowFn = std::function<HWND()>;

class CIPCReceiver : public view_render::FCMessageWindow {
 public:
  explicit CIPCReceiver(MainWindowFn main_window) : main_window_(std::move(main_window)) {}
  bool Create();

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  MainWindowFn main_window_;
};

class CIPCAlwaysReceiver : public view_render::FCMessageWindow {
 public:
  explicit CIPCAlwaysReceiver(MainWindowFn main_window) : main_window_(std::move(main_window)) {}
  bool Create();

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  MainWindowFn main_window_;
};

}  // namespace ipc
