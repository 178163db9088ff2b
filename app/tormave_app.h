#pragma once
// CTormaveApp: the viewer's application object. InitInstance decides whether this launch shows a window
// at all (service switches, hand-off to a running copy, a pending update, a missing resource package)
// and then runs the main window as the program's main loop; ExitInstance releases everything in order.
#include <memory>

#include "app/win_app.h"
#include "basic_lib/gdiplus.h"
#include "ipc/instance_receivers.h"
#include "view_render/async_task.h"

namespace main_view {
class CTormaveDlg;
}

namespace app {

// The COM apartment of the UI thread, uninitialised by its owner.
using FCAutoInitializeCOM = view_render::FCAutoInitializeCOM;
using FCAutoInitGDIPlus = basic_lib::ScopedGdiplus;

class CTormaveApp : public CWinApp {
 public:
  CTormaveApp();
  ~CTormaveApp() override;

  bool InitInstance() override;
  int ExitInstance() override;

  // Creates or removes the normal receiver as "only one instance" says, and creates the always receiver.
  void UpdateReceivers(bool only_one_instance);

 private:
  [[nodiscard]] bool HandUpdateToTray();
  [[nodiscard]] HWND CurrentMainWindow() const;

  // Released in reverse order by the destructor.
  std::unique_ptr<FCAutoInitGDIPlus> gdiplus_;
  std::unique_ptr<FCAutoInitializeCOM> com_;
  std::unique_ptr<ipc::CIPCReceiver> receiver_;
  std::unique_ptr<ipc::CIPCAlwaysReceiver> always_receiver_;
  main_view::CTormaveDlg* main_dlg_ = nullptr;
};

}  // namespace app
