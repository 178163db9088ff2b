#include "main_view/serial_job_thread.h"

#include <process.h>

namespace main_view {

SerialJobThread::SerialJobThread() : state_(std::make_shared<State>()) {}

SerialJobThread::~SerialJobThread() { StopJobs(INFINITE); }

void SerialJobThread::PostJob(std::function<void()> job) {
  std::lock_guard guard(state_->lock);
  state_->jobs.push_back(std::move(job));
  if (state_->thread) return;
  auto* start = new Start{state_};
  unsigned id = 0;
  // Suspended, so the handle and id are recorded before the thread looks for them.
  state_->thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ThreadMain, start, CREATE_SUSPENDED, &id));
  if (!state_->thread) {
    delete start;
    return;
  }
  state_->thread_id = id;
  ResumeThread(state_->thread);
}

unsigned __stdcall SerialJobThread::ThreadMain(void* param) {
  std::unique_ptr<Start> start(static_cast<Start*>(param));
  State& s = *start->state;
  for (;;) {
    std::function<void()> job;
    {
      std::lock_guard guard(s.lock);
      if (s.thread_id != GetCurrentThreadId()) return 0;  // forgotten by a stop that timed out
      if (s.jobs.empty()) {
        CloseHandle(s.thread);
        s.thread = nullptr;
        s.thread_id = 0;
        return 0;
      }
      job = std::move(s.jobs.front());
      s.jobs.pop_front();
    }
    job();
  }
}

bool SerialJobThread::StopJobs(DWORD timeout_ms) {
  HANDLE wait = nullptr;
  {
    std::lock_guard guard(state_->lock);
    std::deque<std::function<void()>>().swap(state_->jobs);
    if (!state_->thread || state_->thread_id == GetCurrentThreadId()) return true;
    if (!DuplicateHandle(GetCurrentProcess(), state_->thread, GetCurrentProcess(), &wait, SYNCHRONIZE, FALSE, 0))
      return false;
  }
  const bool ended = WaitForSingleObject(wait, timeout_ms) == WAIT_OBJECT_0;
  CloseHandle(wait);
  if (!ended) {
    std::lock_guard guard(state_->lock);
    if (state_->thread) CloseHandle(state_->thread);
    state_->thread = nullptr;
    state_->thread_id = 0;
  }
  return ended;
}

bool SerialJobThread::running() const {
  std::lock_guard guard(state_->lock);
  return state_->thread != nullptr;
}

}  // namespace main_view
