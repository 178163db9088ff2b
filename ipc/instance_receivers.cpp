#include "ipc/instance_receivers.h"

#include "ipc/hand_off.h"

namespace ipc {
namespace {

bool CreateReceiver(view_render::FCMessageWindow& window, const wchar_t* name) {
  if (!window.CreateMessageWindow(name)) return false;
  // Launches of lower integrity (from a sandboxed shell) may hand over too.
  ChangeWindowMessageFilterEx(window.hwnd(), WM_COPYDATA, MSGFLT_ALLOW, nullptr);
  return true;
}

LRESULT Forward(const MainWindowFn& main_window, WPARAM wp, LPARAM lp) {
  HWND target = main_window ? main_window() : nullptr;
  return target && IsWindow(target) ? SendMessageW(target, WM_COPYDATA, wp, lp) : 0;
}

}  // namespace

bool CIPCReceiver::Create() { return CreateReceiver(*this, kReceiverName); }

LRESULT CIPCReceiver::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COPYDATA) return Forward(main_window_, wp, lp);
  return FCMessageWindow::WindowProc(msg, wp, lp);
}

bool CIPCAlwaysReceiver::Create() { return CreateReceiver(*this, kAlwaysReceiverName); }

LRESULT CIPCAlwaysReceiver::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COPYDATA) return Forward(main_window_, 0, lp);
  return FCMessageWindow::WindowProc(msg, wp, lp);
}

}  // namespace ipc
