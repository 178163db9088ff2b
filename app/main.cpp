// Entry point of Vistroma.exe: the objects that exist before wWinMain, in their order, and the
// application object's run.
#include <windows.h>

#include "app/app_config.h"
#include "app/data_folders.h"
#include "app/my_log.h"
#include "app/tormave_app.h"
#include "app/win_app.h"

namespace {

// Static initialisation, in this order: the log, the settings (which also choose the language), the
// application object, the per-user folders. One translation unit keeps the order.
[[maybe_unused]] const bool g_log_opened = (app::CMyLog::Get().Open(), true);
[[maybe_unused]] app::CAppConfig& g_config = app::CAppConfig::Get();
app::CTormaveApp g_app;
[[maybe_unused]] const bool g_folders_made = (app::CreateDataFolders(), true);

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  return app::AppMain(instance, command_line);
}
