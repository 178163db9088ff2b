#include "app/tormave_app.h"

#include <commctrl.h>

#include "app/app_config.h"
#include "app/app_paths.h"
#include "app/command_line.h"
#include "app/crash_report.h"
#include "app/data_folders.h"
#include "app/language.h"
#include "app/launch_dispatch.h"
#include "app/my_log.h"
#include "app/process_control.h"
#include "app/stat_client.h"
#include "basic_lib/singleton.h"
#include "image/current_picture.h"
#include "image/wic_factory.h"
#include "main_view/main_dlg.h"
#include "main_view/view_services.h"
#include "popup_dialog/message_box.h"
#include "ui_toolkit/toolkit.h"
#include "view_render/system_cache.h"

namespace app {

namespace {

// The language pack names the program; a missing pack leaves the product name.
std::wstring ApplicationName() {
  std::wstring name = GetLanguageString(L"app", L"NAME");
  return name.empty() ? L"Vistroma" : name;
}

}  // namespace

CTormaveApp::CTormaveApp() : CWinApp(ApplicationName()) {}

CTormaveApp::~CTormaveApp() {
  always_receiver_.reset();
  receiver_.reset();
  com_.reset();
  gdiplus_.reset();
}

HWND CTormaveApp::CurrentMainWindow() const { return main_dlg_ ? main_dlg_->hwnd() : nullptr; }

bool CTormaveApp::HandUpdateToTray() {
  // The update guard is created by the updater; this launch only looks whether it is there, clearing the
  // last error first as MutexExists does.
  CloseHandle(CreateMutexW(nullptr, FALSE, nullptr));
  HANDLE guard = OpenMutexW(MUTEX_MODIFY_STATE, FALSE, kUpdateGuardMutex);
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED) {
    if (guard) CloseHandle(guard);
    return true;
  }
  const bool launched = LaunchTray(command_line() + L" --need-upgrade-privilege-now --entry=main");
  if (guard) CloseHandle(guard);
  return launched;
}

void CTormaveApp::UpdateReceivers(bool only_one_instance) {
  const auto main_window = [this] { return CurrentMainWindow(); };
  if (only_one_instance) {
    if (!receiver_) {
      receiver_ = std::make_unique<ipc::CIPCReceiver>(main_window);
      if (!receiver_->Create()) receiver_.reset();
    }
  } else {
    receiver_.reset();
  }
  if (!always_receiver_) {
    always_receiver_ = std::make_unique<ipc::CIPCAlwaysReceiver>(main_window);
    if (!always_receiver_->Create()) always_receiver_.reset();
  }
}

bool CTormaveApp::InitInstance() {
  com_ = std::make_unique<FCAutoInitializeCOM>();
  gdiplus_ = std::make_unique<FCAutoInitGDIPlus>();
  image::CreateImagingFactory();

  CCommandLine::Get().Parse(command_line());
  if (!LaunchDispatch()) return false;

  if (IsUpdatePending() && HandUpdateToTray()) return false;

  InstallCrashFilter();
  SetCrashReportInfo(L"vistromamain", 0);

  INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
  InitCommonControlsEx(&controls);

  if (!ui_toolkit::CToolkit::Get().Initialise(instance(), GetExeFolder() + L"resources", L"res.zip")) {
    // Without the package nothing but the box carried inside the program can be shown.
    popup_dialog::ShowMessageBox(nullptr, L"图片查看失败，请重新下载看图软件", popup_dialog::kMsgBoxOk, L"left", true);
    ExitProcess(static_cast<UINT>(-1));
  }

  UpdateReceivers(CAppConfig::Get().only_one_instance != 0);

  if (!main_view::CTormaveDlg::RegisterWindowClass(instance())) return false;
  main_view::CTormaveDlg dlg;
  main_dlg_ = &dlg;
  dlg.Create();
  set_main_window(dlg.hwnd());
  dlg.DoModal();
  main_dlg_ = nullptr;
  set_main_window(nullptr);
  return false;
}

int CTormaveApp::ExitInstance() {
  // The picture's work, the preloads and the folder scan end before what they use goes.
  image::CCurrentPicture::Instance().Reset();
  view_render::CSystemCache& cache = view_render::CSystemCache::Get();
  cache.CancelAll();
  cache.WaitRunning();
  main_view::ViewServices::Get().folder_list().Shutdown();
  CleanTempFiles();
  image::ReleaseImagingFactory();
  gdiplus_.reset();
  com_.reset();
  // The singletons, each once, in this order.
  basic_lib::CSingletonT<CStatWrapper>::DestroyInstance();
  basic_lib::CSingletonT<CMyLog>::DestroyInstance();
  basic_lib::CSingletonT<CCommandLine>::DestroyInstance();
  return CWinApp::ExitInstance();
}

}  // namespace app
