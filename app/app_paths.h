#pragma once
// The program's folders, built once: the folder of the running module, and the per-user data folder
// %APPDATA%\Vistroma\ with its temp\ sub-folders. Every result ends with a backslash.
#include <string>

namespace app {

[[nodiscard]] const std::wstring& GetExeFolder();
[[nodiscard]] const std::wstring& GetDataFolder();
// data folder + "temp\", and with a sub-folder name + sub + "\".
[[nodiscard]] std::wstring GetTempFolder(const std::wstring& sub = {});

}  // namespace app
