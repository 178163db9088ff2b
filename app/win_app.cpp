#include "app/win_app.h"

namespace app {
namespace {

CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp(std::wstring app_name) : app_name_(std::move(app_name)) { g_app = this; }

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

CWinApp* CWinApp::Current() { return g_app; }

int CWinApp::Run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  ExitInstance();
  return static_cast<int>(msg.wParam);
}

int AppMain(HINSTANCE instance, const wchar_t* command_line) {
  CWinApp* app = CWinApp::Current();
  if (!app) return 1;
  app->instance_ = instance;
  app->command_line_ = command_line ? command_line : L"";
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}

}  // namespace app
