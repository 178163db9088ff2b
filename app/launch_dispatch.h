#pragma once
// The launch dispatcher: before any window exists, performs the service switches, hands the launch to a
// running copy when one takes it, and says whether this copy goes on to show its own window.
#include <windows.h>

#include <string>

#include "app/app_config.h"
#include "app/command_line.h"

namespace app {

// True when this copy is to show a window.
[[nodiscard]] bool LaunchDispatch(const CCommandLine& line, CAppConfig& config);
[[nodiscard]] bool LaunchDispatch();
// Sends text to the running copy's always receiver; its answer, or 0 without one.
LRESULT HandToAlwaysReceiver(const std::wstring& text);

}  // namespace app
