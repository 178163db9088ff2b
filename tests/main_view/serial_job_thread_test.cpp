// The background job thread: jobs run in order on one thread that ends when the queue is empty and
// starts again for the next job; a stop drops what waits, and a stop that times out leaves the old
// thread to finish alone while new jobs get a new thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <vector>

#include "main_view/serial_job_thread.h"
#include "tests/support/message_pump.h"

using main_view::SerialJobThread;
using test_support::PumpUntil;
using namespace std::chrono_literals;

TEST(SerialJobThread, JobsRunInOrderOnOneThreadThatEndsWhenTheQueueIsEmpty) {
  SerialJobThread jobs;
  std::mutex lock;
  std::vector<int> order;
  std::vector<DWORD> threads;
  HANDLE gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  jobs.PostJob([&] { WaitForSingleObject(gate, 5000); });
  for (int i = 0; i < 5; ++i)
    jobs.PostJob([&, i] {
      std::lock_guard g(lock);
      order.push_back(i);
      threads.push_back(GetCurrentThreadId());
    });
  EXPECT_TRUE(jobs.running());
  SetEvent(gate);
  ASSERT_TRUE(PumpUntil([&] { return !jobs.running(); }, 5s));
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
  for (DWORD t : threads) EXPECT_EQ(t, threads.front());
  EXPECT_NE(threads.front(), GetCurrentThreadId());

  std::atomic<int> later{0};
  jobs.PostJob([&] { later = 1; });
  EXPECT_TRUE(PumpUntil([&] { return later == 1 && !jobs.running(); }, 5s)) << "a new thread for a new job";
  CloseHandle(gate);
}

TEST(SerialJobThread, StoppingDropsQueuedJobsAndForgetsAThreadThatOutlastsTheWait) {
  SerialJobThread jobs;
  HANDLE gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> started{0}, ran{0}, dropped{0};
  jobs.PostJob([&] {
    started = 1;
    WaitForSingleObject(gate, 5000);
    ran = 1;
  });
  jobs.PostJob([&] { dropped = 1; });
  ASSERT_TRUE(PumpUntil([&] { return started == 1; }, 5s));
  EXPECT_FALSE(jobs.StopJobs(50)) << "the first job still waits";
  EXPECT_FALSE(jobs.running()) << "forgotten";

  std::atomic<DWORD> new_thread{0};
  jobs.PostJob([&] { new_thread = GetCurrentThreadId(); });
  ASSERT_TRUE(PumpUntil([&] { return new_thread != 0; }, 5s)) << "runs beside the forgotten one";
  SetEvent(gate);
  ASSERT_TRUE(PumpUntil([&] { return ran == 1; }, 5s));
  EXPECT_TRUE(jobs.StopJobs(5000));
  Sleep(50);
  EXPECT_EQ(dropped, 0) << "a dropped job never runs";
  CloseHandle(gate);
}
