// Crash-dump pruning, named mutexes, the updater's pending state and the hand-off message, on the real
// platform.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "app/data_folders.h"
#include "app/process_control.h"
#include "ipc/hand_off.h"
#include "tests/support/temp_dir.h"
#include "view_render/message_window.h"

namespace {

void Touch(const std::wstring& path) { ASSERT_TRUE(test_support::Touch(path)) << "cannot create a file"; }

std::vector<std::wstring> Names(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(CrashDumps, TheLastTenInLogicalOrderRemain) {
  test_support::TempDir dir;
  for (int i = 1; i <= 12; ++i) Touch(dir.File(L"dump" + std::to_wstring(i) + L".dmp"));
  Touch(dir.File(L"notes.txt"));
  app::PruneCrashDumpsIn(dir.path());
  std::vector<std::wstring> expected{L"notes.txt"};
  for (int i = 3; i <= 12; ++i) expected.push_back(L"dump" + std::to_wstring(i) + L".dmp");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(dir.path()), expected) << "dump1 and dump2 go, not dump1 and dump10";

  // Ten or fewer: nothing goes.
  app::PruneCrashDumpsIn(dir.path());
  EXPECT_EQ(Names(dir.path()).size(), 11u);
  EXPECT_TRUE(app::DumpsToDelete({L"a.dmp", L"b.dmp"}, 10).empty());
  EXPECT_EQ(app::DumpsToDelete({L"x10.dmp", L"x9.dmp", L"x11.dmp"}, 2), std::vector<std::wstring>{L"x9.dmp"});
}

TEST(NamedMutexes, ExistenceAndThePendingUpdate) {
  const wchar_t* name = L"VistromaTestMutex-5b1d0e7c";
  EXPECT_FALSE(app::MutexExists(name));
  HANDLE mine = CreateMutexW(nullptr, FALSE, name);
  ASSERT_NE(mine, nullptr);
  EXPECT_TRUE(app::MutexExists(name));
  CloseHandle(mine);
  EXPECT_FALSE(app::MutexExists(name));

  test_support::TempDir dir;
  const std::wstring ini = dir.File(L"config.ini");
  EXPECT_FALSE(app::IsUpdatePendingIn(dir.path())) << "no updater file";
  struct Case {
    const wchar_t* state;
    bool updater_running;
    bool pending;
  };
  for (const Case& c : {Case{L"velmoUpdate", false, true}, Case{L"velmoupdate", false, false},
                        Case{L"VELMOUPDATE", false, false}, Case{L"", false, false},
                        Case{L"velmoUpdate", true, false}}) {
    WritePrivateProfileStringW(L"update", L"state", c.state, ini.c_str());
    HANDLE updater = c.updater_running ? CreateMutexW(nullptr, FALSE, app::kUpdaterMutex) : nullptr;
    EXPECT_EQ(app::IsUpdatePendingIn(dir.path()), c.pending) << c.state << " updater " << c.updater_running;
    if (updater) CloseHandle(updater);
  }
}

namespace {

class EchoWindow : public view_render::FCMessageWindow {
 public:
  std::wstring received;
  bool took = false;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != WM_COPYDATA) return FCMessageWindow::WindowProc(msg, wp, lp);
    took = ipc::ReadHandOff(reinterpret_cast<const COPYDATASTRUCT*>(lp), received);
    return took ? 1 : 0;
  }
};

}  // namespace

TEST(HandOff, TextTravelsWithItsZeroAndIsReadWithinItsSize) {
  EchoWindow window;
  ASSERT_TRUE(window.CreateMessageWindow(L"VistromaHandOffTest"));
  wchar_t class_name[64] = {};
  GetClassNameW(window.hwnd(), class_name, 64);
  EXPECT_EQ(std::wstring(class_name).rfind(L"quiltar_msgwnd_", 0), 0u);
  EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, nullptr, L"VistromaHandOffTest"), window.hwnd());

  EXPECT_EQ(ipc::SendHandOff(window.hwnd(), L"D:\\图片\\a b.jpg"), 1);
  EXPECT_EQ(window.received, L"D:\\图片\\a b.jpg");
  EXPECT_EQ(ipc::SendHandOff(window.hwnd(), L""), 1);
  EXPECT_EQ(window.received, L"");

  // A sender without the terminating zero, or with another tag: read within the size, or refused.
  wchar_t unterminated[4] = {L'a', L'b', L'c', L'd'};
  COPYDATASTRUCT data{ipc::HAND_OFF_TAG, 3 * sizeof(wchar_t), unterminated};
  std::wstring text;
  EXPECT_TRUE(ipc::ReadHandOff(&data, text));
  EXPECT_EQ(text, L"abc");
  data.cbData = 7;  // an odd byte count
  EXPECT_TRUE(ipc::ReadHandOff(&data, text));
  EXPECT_EQ(text, L"abc");
  data.dwData = 0x1234;
  EXPECT_FALSE(ipc::ReadHandOff(&data, text));
  data.dwData = ipc::HAND_OFF_TAG;
  data.lpData = nullptr;
  EXPECT_FALSE(ipc::ReadHandOff(&data, text));
  EXPECT_FALSE(ipc::ReadHandOff(nullptr, text));
}
