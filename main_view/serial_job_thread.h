#pragma once
// SerialJobThread: runs jobs one after another on a thread of its own, started on the first job and
// ended when the queue runs dry. Stopping drops the queued jobs and waits a while for the running one; a
// thread that outlasts the wait is forgotten: it ends after its job and never takes another.
#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace main_view {

class SerialJobThread {
 public:
  SerialJobThread();
  SerialJobThread(const SerialJobThread&) = delete;
  SerialJobThread& operator=(const SerialJobThread&) = delete;
  ~SerialJobThread();

  void PostJob(std::function<void()> job);
  // False when the running job did not end in time.
  bool StopJobs(DWORD timeout_ms);
  [[nodiscard]] bool running() const;

 private:
  // Shared with the thread, so a forgotten thread never touches a destroyed object.
  struct State {
    std::mutex lock;
    HANDLE thread = nullptr;
    DWORD thread_id = 0;
    std::deque<std::function<void()>> jobs;
  };
  struct Start {
    std::shared_ptr<State> state;
  };
  static unsigned __stdcall ThreadMain(void* start);

  std::shared_ptr<State> state_;
};

}  // namespace main_view
