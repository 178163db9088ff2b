#pragma once
// Waiting in a test while this thread's messages keep flowing (completions, hand-overs, timers).
#include <windows.h>

#include <chrono>

namespace test_support {

// True once done() holds; false when the limit passed first.
template <typename F>
bool PumpUntil(F done, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(2);
  }
  return true;
}

}  // namespace test_support
