// Launch modes with real processes: hand-off between copies, service switches, the pending update, the
// missing package, the statistics events and what a copy leaves behind when it ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "app/config_rules.h"
#include "app/process_control.h"
#include "ipc/hand_off.h"
#include "tests/support/temp_dir.h"
#include "tests/support/viewer_process.h"

using test_support::ViewerInstall;
using test_support::ViewerProcess;
using test_support::PumpUntil;
using namespace std::chrono_literals;

namespace {

constexpr wchar_t kMainClass[] = L"VistromaMainFrameClass-b1f78b3cc4bd764c";


bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Touch(const std::wstring& path) { ASSERT_TRUE(test_support::Touch(path)) << "cannot create a file"; }

std::wstring ReadKey(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
  wchar_t buffer[256] = {};
  GetPrivateProfileStringW(section, key, L"\n", buffer, 256, file.c_str());
  return buffer;
}

class LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StopTrayPeers();
    test_support::RemoveTree(data_);
    CreateDirectoryW(data_.c_str(), nullptr);
    picture_ = pictures_.File(L"照片 01.jpg");
    Touch(picture_);
  }
  void TearDown() override {
    StopTrayPeers();
    test_support::RemoveTree(data_);
  }
  void Config(const wchar_t* key, const wchar_t* value) {
    WritePrivateProfileStringW(L"app", key, value, (data_ + L"config.ini").c_str());
  }
  static void StopTrayPeers() {
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, L"VistromaTrayPeerStop");
    SetEvent(stop);
    EXPECT_TRUE(PumpUntil([] { return !app::MutexExists(app::kTrayMutex); }, 10s)) << "a tray peer stayed";
    ResetEvent(stop);
    CloseHandle(stop);
  }
  static void CloseAndExpectZero(ViewerProcess& p, HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(p.WaitExit(), 0u);
  }

  std::wstring data_ = test_support::ViewerDataFolder();
  test_support::TempDir pictures_{L"pictures"};
  std::wstring picture_;
};

}  // namespace

TEST_F(LaunchTest, WithOnlyOneInstanceALaunchHandsItsFileOverAndEnds) {
  Config(L"only_one_instance", L"1");
  ViewerInstall install;
  ViewerProcess first;
  ASSERT_TRUE(first.Start(install.exe(), L""));
  HWND window = first.WaitForWindow(kMainClass);
  ASSERT_NE(window, nullptr);
  HWND receiver = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, ipc::kReceiverName);
  ASSERT_NE(receiver, nullptr);
  ASSERT_NE(FindWindowExW(HWND_MESSAGE, nullptr, nullptr, ipc::kAlwaysReceiverName), nullptr);

  for (const std::wstring& arguments : {L"\"" + picture_ + L"\"", std::wstring()}) {
    ViewerProcess second;
    ASSERT_TRUE(second.Start(install.exe(), arguments));
    EXPECT_EQ(second.WaitExit(), 0u) << "handed over: " << testing::PrintToString(arguments);
  }
  EXPECT_TRUE(first.Running());

  // The running copy answers through its receiver; a minimised window comes back for a file or a
  // request to show itself; another tag is not a hand-off.
  ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(window) != FALSE; }, 5s));
  EXPECT_EQ(ipc::SendHandOff(receiver, picture_), 1);
  EXPECT_TRUE(PumpUntil([&] { return !IsIconic(window); }, 5s));
  ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(window) != FALSE; }, 5s));
  EXPECT_EQ(ipc::SendHandOff(receiver, L"--show-existing"), 1);
  EXPECT_TRUE(PumpUntil([&] { return !IsIconic(window); }, 5s));
  std::wstring text = L"x";
  COPYDATASTRUCT other{0x1234, 4, text.data()};
  EXPECT_EQ(SendMessageW(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&other)), 0);
  CloseAndExpectZero(first, window);
}

TEST_F(LaunchTest, WithoutItOnlyAnIdleCopyTakesTheFileAndTheQuitMessageEndsEveryCopy) {
  ViewerInstall install;
  ViewerProcess first;
  ASSERT_TRUE(first.Start(install.exe(), L""));
  HWND window = first.WaitForWindow(kMainClass);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, nullptr, ipc::kReceiverName), nullptr);
  wchar_t title[32] = {};
  GetWindowTextW(window, title, 32);
  EXPECT_STREQ(title, L"Vistroma");

  ViewerProcess handed;
  ASSERT_TRUE(handed.Start(install.exe(), L"\"" + picture_ + L"\""));
  EXPECT_EQ(handed.WaitExit(), 0u) << "an idle copy took the file";

  // A copy that shows a picture has another title and is left alone.
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"照片 01.jpg ( 10x10 ) - 1/1 100%"));
  ViewerProcess own;
  ASSERT_TRUE(own.Start(install.exe(), L"\"" + picture_ + L"\""));
  HWND own_window = own.WaitForWindow(kMainClass);
  EXPECT_NE(own_window, nullptr) << "the launch runs its own window";

  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(ipc::kQuitBroadcastMessage), 0, 0);
  EXPECT_EQ(first.WaitExit(), 0u);
  EXPECT_EQ(own.WaitExit(), 0u);
}

TEST_F(LaunchTest, SettingsAndLockScreenRequestsReachTheRunningCopy) {
  ViewerInstall install;
  ViewerProcess first;
  ASSERT_TRUE(first.Start(install.exe(), L""));
  HWND window = first.WaitForWindow(kMainClass);
  ASSERT_NE(window, nullptr);
  for (const wchar_t* request : {L"--setting", L"--LockscreenSet", L"--show-existing"}) {
    ViewerProcess second;
    ASSERT_TRUE(second.Start(install.exe(), request));
    EXPECT_EQ(second.WaitExit(), 0u) << request;
  }
  EXPECT_TRUE(first.Running());
  CloseAndExpectZero(first, window);
}

TEST_F(LaunchTest, InstallAndUninstallCallTheAssociationComponentAndEnd) {
  ViewerInstall install;
  ViewerProcess installer;
  ASSERT_TRUE(installer.Start(install.exe(), L"/install"));
  EXPECT_EQ(installer.WaitExit(), 0u);
  wchar_t command[600] = {};
  DWORD size = sizeof(command);
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Classes\\Vistroma.Image\\shell\\open\\command", nullptr,
                         RRF_RT_REG_SZ, nullptr, command, &size),
            ERROR_SUCCESS);
  EXPECT_NE(std::wstring(command).find(install.exe()), std::wstring::npos);
  EXPECT_EQ(ReadKey(data_ + L"config.ini", L"app", L"user_set_default_viewer"), L"1");

  ViewerProcess uninstaller;
  ASSERT_TRUE(uninstaller.Start(install.exe(), L"/uninstall"));
  EXPECT_EQ(uninstaller.WaitExit(), 0u);
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Classes\\Vistroma.Image", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_FALSE(Exists(data_)) << "the per-user data folder is removed";
}

TEST_F(LaunchTest, APendingUpdateGoesToTheTrayUnlessTheUpdaterOrTheTrayRuns) {
  ViewerInstall install(ViewerInstall::Options{.tray_peer = true});
  WritePrivateProfileStringW(L"update", L"state", L"velmoUpdate", (install.folder() + L"config.ini").c_str());
  {
    HANDLE updater = CreateMutexW(nullptr, FALSE, app::kUpdaterMutex);
    ViewerProcess viewer;
    ASSERT_TRUE(viewer.Start(install.exe(), L""));
    HWND window = viewer.WaitForWindow(kMainClass);
    EXPECT_NE(window, nullptr) << "the updater runs: nothing is pending";
    CloseHandle(updater);
    if (window) CloseAndExpectZero(viewer, window);
    StopTrayPeers();  // the watchdog may have started one meanwhile
    DeleteFileW((install.folder() + L"tray_launches.txt").c_str());
  }
  {
    ViewerProcess viewer;
    ASSERT_TRUE(viewer.Start(install.exe(), L"--from=desktop"));
    EXPECT_EQ(viewer.WaitExit(), 0u) << "handed to the tray";
    ASSERT_TRUE(PumpUntil([&] { return app::MutexExists(app::kTrayMutex); }, 10s));
    EXPECT_EQ(test_support::ReadText(install.folder() + L"tray_launches.txt"),
              "--from=desktop --need-upgrade-privilege-now --entry=main --from=main\n");
  }
  {
    // The tray runs now: the update waits and the viewer starts.
    ViewerProcess viewer;
    ASSERT_TRUE(viewer.Start(install.exe(), L""));
    HWND window = viewer.WaitForWindow(kMainClass);
    EXPECT_NE(window, nullptr);
    if (window) CloseAndExpectZero(viewer, window);
  }
}

TEST_F(LaunchTest, ACopyThatEndsCleansUpAndSavesItsPlace) {
  ViewerInstall install;
  const std::wstring crash = data_ + L"temp\\crash\\";
  CreateDirectoryW((data_ + L"temp").c_str(), nullptr);
  CreateDirectoryW(crash.c_str(), nullptr);
  for (int i = 1; i <= 12; ++i) Touch(crash + L"dump" + std::to_wstring(i) + L".dmp");
  Touch(data_ + L"temp\\tempprint.jpg");

  ViewerProcess viewer;
  ASSERT_TRUE(viewer.Start(install.exe(), L""));
  HWND window = viewer.WaitForWindow(kMainClass);
  ASSERT_NE(window, nullptr);
  RECT placed{};
  GetWindowRect(window, &placed);
  CloseAndExpectZero(viewer, window);

  for (int i = 1; i <= 12; ++i)
    EXPECT_EQ(Exists(crash + L"dump" + std::to_wstring(i) + L".dmp"), i > 2) << "dump" << i;
  EXPECT_FALSE(Exists(data_ + L"temp\\tempprint.jpg"));

  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const app::PlacementRect expected = app::DefaultStartRect({work.left, work.top, work.right, work.bottom});
  EXPECT_EQ((app::PlacementRect{placed.left, placed.top, placed.right, placed.bottom}), expected);
  const std::wstring ini = data_ + L"config.ini";
  EXPECT_EQ(ReadKey(ini, L"app", L"last_position"), app::FormatPlacement(expected));
  EXPECT_EQ(ReadKey(ini, L"app", L"max_zoom_ratio"), L"8");
  wchar_t section[64] = {};
  EXPECT_EQ(GetPrivateProfileSectionW(L"lockscreen", section, 64, ini.c_str()), 0u) << "the lock-screen block untouched";
}

TEST_F(LaunchTest, WithoutThePackageTheEmbeddedBoxShowsAndTheProgramEndsWithMinusOne) {
  ViewerInstall install(ViewerInstall::Options{.package = false});
  CreateDirectoryW((data_ + L"temp").c_str(), nullptr);
  Touch(data_ + L"temp\\tempprint.jpg");
  ViewerProcess viewer;
  ASSERT_TRUE(viewer.Start(install.exe(), L""));
  HWND box = viewer.WaitForWindow(L"VistromaMessageBox");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(viewer.FindWindowOf(kMainClass), nullptr);
  RECT r{};
  GetClientRect(box, &r);
  EXPECT_EQ(r.right, 392);
  EXPECT_EQ(r.bottom, 182);
  PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(viewer.WaitExit(), static_cast<DWORD>(-1));
  EXPECT_TRUE(Exists(data_ + L"temp\\tempprint.jpg")) << "no ExitInstance";
}

TEST_F(LaunchTest, StartEventsReachTheStatisticsComponent) {
  ViewerInstall install;
  Touch(data_ + L"stat.log.on");
  ViewerProcess viewer;
  ASSERT_TRUE(viewer.Start(install.exe(), L"--from=tray"));
  HWND window = viewer.WaitForWindow(kMainClass);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return test_support::ReadText(data_ + L"stat.log").find("open_") != std::string::npos; }, 10s));
  CloseAndExpectZero(viewer, window);
  EXPECT_EQ(test_support::ReadText(data_ + L"stat.log"), "main\topen\r\nmain\topen_tray\r\n");

  // Without the switch file the component writes nothing.
  DeleteFileW((data_ + L"stat.log.on").c_str());
  DeleteFileW((data_ + L"stat.log").c_str());
  ViewerProcess quiet;
  ASSERT_TRUE(quiet.Start(install.exe(), L""));
  HWND quiet_window = quiet.WaitForWindow(kMainClass);
  ASSERT_NE(quiet_window, nullptr);
  CloseAndExpectZero(quiet, quiet_window);
  EXPECT_FALSE(Exists(data_ + L"stat.log"));
}

TEST_F(LaunchTest, WithoutTheStatisticsComponentTheProgramEndsAtOnce) {
  ViewerInstall install(ViewerInstall::Options{.statistics = false});
  ViewerProcess viewer;
  ASSERT_TRUE(viewer.Start(install.exe(), L""));
  EXPECT_EQ(viewer.WaitExit(), 0u);
}

TEST_F(LaunchTest, CompletelyExitEndsTheTrayWithTheLastCopyOnly) {
  Config(L"completely_exit", L"1");
  ViewerInstall install(ViewerInstall::Options{.tray_peer = true});
  ViewerProcess first;
  ASSERT_TRUE(first.Start(install.exe(), L""));
  HWND window = first.WaitForWindow(kMainClass);
  ASSERT_NE(window, nullptr);
  // One second after the window, the watchdog starts the tray.
  ASSERT_TRUE(PumpUntil([] { return app::MutexExists(app::kTrayMutex); }, 10s));
  EXPECT_EQ(test_support::ReadText(install.folder() + L"tray_launches.txt"), "--from=main\n");  // the line as the tray reads it

  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"busy"));
  ViewerProcess second;
  ASSERT_TRUE(second.Start(install.exe(), L""));
  HWND second_window = second.WaitForWindow(kMainClass);
  ASSERT_NE(second_window, nullptr);
  CloseAndExpectZero(second, second_window);
  Sleep(500);
  EXPECT_TRUE(app::MutexExists(app::kTrayMutex)) << "another copy still runs: the tray stays";

  CloseAndExpectZero(first, window);
  EXPECT_TRUE(PumpUntil([] { return !app::MutexExists(app::kTrayMutex); }, 10s)) << "the last copy ends the tray";
}
