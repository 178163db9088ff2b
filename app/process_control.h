#pragma once
// Instance control across processes: named mutexes that other programs create, the updater's pending
// state, starting the tray process and ending processes by their image path.
#include <string>

namespace app {

inline constexpr wchar_t kUpdateGuardMutex[] = L"9BB62ABF-C1B3-43ED-BABF-B085F3FB3A57";
inline constexpr wchar_t kUpdaterMutex[] = L"QUORVENDAL_570E6FBC-027B-461C-9218-8447018C832F";
inline constexpr wchar_t kTrayMutex[] = L"Global\\ZtTray-95745a12eeaa410d";
inline constexpr wchar_t kTrayUpgradeMutex[] = L"ZtTrayUpgradePrivilegeName-d7a77ee6517af62d";
inline constexpr wchar_t kMainExitMutex[] = L"ZtMainExitMutex-ad756f18033b6ea0";
inline constexpr char kAssociationMutex[] = "ZtMainSetFileAssociation-9c1a7e1574578709";
inline constexpr wchar_t kTrayExe[] = L"VistromaTray.exe";

// True unless opening the mutex fails with ERROR_FILE_NOT_FOUND; a refused open (access denied) exists.
// Leaves the thread's last error as the open set it.
[[nodiscard]] bool MutexExists(const wchar_t* name);
// The updater's config.ini beside the program says "velmoUpdate" (exactly) and the updater is not running.
[[nodiscard]] bool IsUpdatePending();
[[nodiscard]] bool IsUpdatePendingIn(const std::wstring& exe_folder);
// Starts <exe folder>\VistromaTray.exe with extra + " --from=main" unless a tray runs or upgrades.
bool LaunchTray(const std::wstring& extra);
// Ends every process whose image is path (case-insensitive); paths over 260 characters are ignored.
void TerminateProcessesByPath(const std::wstring& path);

}  // namespace app
