// A real top-level window on the test display receives posted, cross-thread sent and timer messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

constexpr UINT kPosted = WM_APP + 7;
constexpr UINT kSent = WM_APP + 8;

struct Seen {
  std::vector<UINT> messages;
  WPARAM posted_wparam = 0;
  DWORD sent_on_thread = 0;
};

LRESULT CALLBACK RecorderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* seen = reinterpret_cast<Seen*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    seen = static_cast<Seen*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(seen));
  }
  if (seen && (msg == kPosted || msg == kSent || msg == WM_TIMER)) {
    seen->messages.push_back(msg);
    if (msg == kPosted) seen->posted_wparam = wp;
    if (msg == kSent) {
      seen->sent_on_thread = GetCurrentThreadId();
      return 0x5150;
    }
    if (msg == WM_TIMER) KillTimer(hwnd, wp);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

bool PumpUntil(const Seen& seen, size_t count, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  while (seen.messages.size() < count && GetTickCount64() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  return seen.messages.size() >= count;
}

}  // namespace

TEST(WindowMessages, TopLevelWindowReceivesPostedSentAndTimerMessages) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = RecorderProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VistromaTestRecorder";
  ASSERT_NE(RegisterClassExW(&wc), 0);

  Seen seen;
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"recorder 记录", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                              120, nullptr, nullptr, wc.hInstance, &seen);
  ASSERT_NE(hwnd, nullptr);

  ASSERT_TRUE(PostMessageW(hwnd, kPosted, 42, 0));
  LRESULT sent_result = 0;
  std::thread sender([&] { sent_result = SendMessageW(hwnd, kSent, 0, 0); });
  ASSERT_NE(SetTimer(hwnd, 1, 30, nullptr), 0u);

  EXPECT_TRUE(PumpUntil(seen, 3, 5000));
  sender.join();

  EXPECT_EQ(seen.posted_wparam, 42u);
  EXPECT_EQ(sent_result, 0x5150);
  // A message sent from another thread is handled on the window's own thread.
  EXPECT_EQ(seen.sent_on_thread, GetCurrentThreadId());
  EXPECT_EQ(std::count(seen.messages.begin(), seen.messages.end(), WM_TIMER), 1);

  wchar_t title[64] = {};
  GetWindowTextW(hwnd, title, 64);
  EXPECT_STREQ(title, L"recorder 记录");
  DestroyWindow(hwnd);
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
}
