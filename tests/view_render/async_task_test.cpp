// The task queue with a real message loop and the real thread pool.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/message_pump.h"
#include "view_render/async_task.h"

using namespace view_render;
using namespace std::chrono_literals;

using test_support::PumpUntil;

namespace {

// What happened, in order, across threads.
struct Journal {
  std::mutex lock;
  std::vector<std::string> lines;
  void Add(const std::string& line) {
    std::lock_guard<std::mutex> hold(lock);
    lines.push_back(line);
  }
  std::vector<std::string> Copy() {
    std::lock_guard<std::mutex> hold(lock);
    return lines;
  }
};

class LoggedTask : public CAsyncTask {
 public:
  LoggedTask(Journal& j, std::string name, int work_ms = 20, bool until_cancelled = false)
      : j_(j), name_(std::move(name)), work_ms_(work_ms), until_cancelled_(until_cancelled) {}
  ~LoggedTask() override { j_.Add(name_ + ":destroyed"); }
  void Run() override {
    j_.Add(name_ + ":run");
    if (until_cancelled_) {
      while (KeepRunning()) Sleep(2);
    } else {
      Sleep(static_cast<DWORD>(work_ms_));
    }
    j_.Add(name_ + ":ran");
  }
  void OnComplete() override { j_.Add(name_ + ":complete"); }
  std::atomic<bool>* finished = nullptr;

 private:
  Journal& j_;
  std::string name_;
  int work_ms_;
  bool until_cancelled_;
};

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

TEST(AsyncTaskQueue, TasksRunOneAfterAnother) {
  Journal j;
  CAsyncTaskQueue queue;
  for (const char* name : {"a", "b", "c"}) queue.AddTask(std::make_unique<LoggedTask>(j, name));
  EXPECT_EQ(queue.running_count(), 1u);
  EXPECT_EQ(queue.pending_count(), 2u);
  ASSERT_TRUE(PumpUntil([&] { return Has(j.Copy(), "c:destroyed"); }));
  const std::vector<std::string> expected{"a:run", "a:ran", "a:complete", "a:destroyed", "b:run", "b:ran",
                                          "b:complete", "b:destroyed", "c:run", "c:ran", "c:complete", "c:destroyed"};
  EXPECT_EQ(j.Copy(), expected);
}

TEST(AsyncTaskQueue, CancelAllDropsPendingAndStillCompletesTheRunningOne) {
  Journal j;
  CAsyncTaskQueue queue;
  queue.AddTask(std::make_unique<LoggedTask>(j, "long", 0, true));
  queue.AddTask(std::make_unique<LoggedTask>(j, "p1"));
  queue.AddTask(std::make_unique<LoggedTask>(j, "p2"));
  ASSERT_TRUE(PumpUntil([&] { return Has(j.Copy(), "long:run"); }));
  queue.CancelAll();
  EXPECT_EQ(queue.pending_count(), 0u);
  ASSERT_TRUE(PumpUntil([&] { return Has(j.Copy(), "long:destroyed"); }));
  const auto lines = j.Copy();
  EXPECT_TRUE(Has(lines, "p1:destroyed") && Has(lines, "p2:destroyed"));
  EXPECT_FALSE(Has(lines, "p1:run") || Has(lines, "p2:run")) << "dropped unrun";
  EXPECT_TRUE(Has(lines, "long:complete")) << "the running one still completes";
}

TEST(AsyncTaskQueue, WaitRunningReplacesTheWindowOnlyWhenSomethingRuns) {
  Journal j;
  CAsyncTaskQueue queue;
  const HWND first = queue.hwnd();
  queue.WaitRunning();
  EXPECT_EQ(queue.hwnd(), first) << "nothing running: same window";

  queue.AddTask(std::make_unique<LoggedTask>(j, "w", 150));
  ASSERT_TRUE(PumpUntil([&] { return Has(j.Copy(), "w:run"); }));
  queue.WaitRunning();
  auto lines = j.Copy();
  EXPECT_TRUE(Has(lines, "w:ran")) << "returns only after Run";
  EXPECT_FALSE(Has(lines, "w:complete")) << "completes later";
  EXPECT_NE(queue.hwnd(), first);
  EXPECT_FALSE(IsWindow(first));
  ASSERT_TRUE(PumpUntil([&] { return Has(j.Copy(), "w:complete"); }));
}

namespace {

class ForwardingTask : public CAsyncTask {
 public:
  ForwardingTask(HANDLE ui_waiting, HWND target, std::atomic<int>& result) : ui_waiting_(ui_waiting), target_(target), result_(result) {}
  void Run() override {
    WaitForSingleObject(ui_waiting_, 5000);
    Sleep(50);  // the UI thread is inside WaitRunning by now
    result_ = SendThroughQueue(target_, WM_NULL, 0, 0) ? 1 : 0;
  }

 private:
  HANDLE ui_waiting_;
  HWND target_;
  std::atomic<int>& result_;
};

}  // namespace

TEST(AsyncTaskQueue, AForwardWhileTheUiWaitsFailsInsteadOfDeadlocking) {
  CAsyncTaskQueue queue;
  HWND target = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  HANDLE ui_waiting = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> result{-1};
  queue.AddTask(std::make_unique<ForwardingTask>(ui_waiting, target, result));
  SetEvent(ui_waiting);
  const auto t0 = std::chrono::steady_clock::now();
  queue.WaitRunning();
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 5s) << "no deadlock";
  EXPECT_EQ(result.load(), 0) << "the send failed";

  // Outside a wait the forward reaches the target.
  ResetEvent(ui_waiting);
  std::atomic<int> delivered{-1};
  SetEvent(ui_waiting);
  queue.AddTask(std::make_unique<ForwardingTask>(ui_waiting, target, delivered));
  ASSERT_TRUE(PumpUntil([&] { return delivered.load() >= 0; }));
  EXPECT_EQ(delivered.load(), 1);
  DestroyWindow(target);
  CloseHandle(ui_waiting);
}

TEST(AsyncTaskQueue, DestroyingAQueueWaitsAndNeverCompletes) {
  Journal j;
  {
    CAsyncTaskQueue queue;
    queue.AddTask(std::make_unique<LoggedTask>(j, "d", 100));
    queue.AddTask(std::make_unique<LoggedTask>(j, "later"));
    ASSERT_TRUE(PumpUntil([&] { return Has(j.Copy(), "d:run"); }));
  }
  const auto lines = j.Copy();
  EXPECT_TRUE(Has(lines, "d:ran"));
  EXPECT_FALSE(Has(lines, "d:complete"));
  EXPECT_TRUE(Has(lines, "d:destroyed"));
  EXPECT_FALSE(Has(lines, "later:run"));
  // Nothing arrives later either.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_FALSE(Has(j.Copy(), "d:complete"));
}

namespace {

class BarrierTask : public CAsyncTask {
 public:
  BarrierTask(std::atomic<int>& arrived, std::atomic<int>& met) : arrived_(arrived), met_(met) {}
  void Run() override {
    ++arrived_;
    for (int i = 0; i < 2000 && arrived_.load() < 2; ++i) Sleep(1);
    if (arrived_.load() >= 2) ++met_;
  }

 private:
  std::atomic<int>& arrived_;
  std::atomic<int>& met_;
};

class Probe : public CAsyncTask {
 public:
  void Run() override {}
};

}  // namespace

TEST(AsyncTaskQueue, QueuesRunSideBySideAndIdsCountAcrossThem) {
  std::atomic<int> arrived{0}, met{0};
  CAsyncTaskQueue one, two;
  one.AddTask(std::make_unique<BarrierTask>(arrived, met));
  two.AddTask(std::make_unique<BarrierTask>(arrived, met));
  ASSERT_TRUE(PumpUntil([&] { return one.running_count() == 0 && two.running_count() == 0; }));
  EXPECT_EQ(met.load(), 2) << "both ran at the same time";

  Probe a, b, c;
  EXPECT_EQ(b.id(), a.id() + 1);
  EXPECT_EQ(c.id(), b.id() + 1);
  EXPECT_GT(a.id(), 0);
}
