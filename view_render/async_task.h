#pragma once
// Background work for the picture on screen. A CAsyncTask runs Run on a thread-pool worker and
// OnComplete back on the UI thread; a CAsyncTaskQueue (a message window on the UI thread) starts its
// tasks one at a time (MaxRunning) in the order they came, and hears of each end through a message the
// worker sends and the UI thread answers at once with ReplyMessage.
//
// Threads: the queue's map, list and window belong to the UI thread; a worker touches only its task,
// the keep-running flag (atomic) and the two sends to the queue window.
#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>

#include "view_render/message_window.h"

namespace view_render {

inline constexpr UINT WM_APP_TASK_DONE = 0x8081;
inline constexpr UINT WM_APP_TASK_SEND = 0x8082;

// A message for the UI thread, sent by a running task through its queue.
struct ForwardRecord {
  HWND target;
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
};

class CAsyncTask {
 public:
  CAsyncTask();
  CAsyncTask(const CAsyncTask&) = delete;
  CAsyncTask& operator=(const CAsyncTask&) = delete;
  virtual ~CAsyncTask();

  virtual void Run() = 0;  // on a pool thread, COM initialised
  virtual void OnComplete() {}  // on the UI thread, after Run
  // Asks a long Run to stop; it still completes.
  void Cancel() { keep_running_.store(0); }
  [[nodiscard]] bool KeepRunning() const { return keep_running_.load() != 0; }
  // The flag itself, for work that checks it between steps of its own.
  [[nodiscard]] const std::atomic<int>& running_flag() const { return keep_running_; }
  [[nodiscard]] int id() const { return id_; }
  [[nodiscard]] HWND queue_window() const { return queue_window_; }

 protected:
  // From Run: has the UI thread deliver a message; false when the queue window is gone (the task should
  // stop then), including while the UI thread waits for this task.
  bool SendThroughQueue(HWND target, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  friend class CAsyncTaskQueue;
  HWND queue_window_ = nullptr;
  PTP_WORK work_ = nullptr;
  const int id_;
  std::atomic<int> keep_running_{1};
};

// COM for one worker callback; uninitialised when it was initialised (S_FALSE included).
class FCAutoInitializeCOM {
 public:
  FCAutoInitializeCOM() : result_(CoInitialize(nullptr)) {}
  FCAutoInitializeCOM(const FCAutoInitializeCOM&) = delete;
  FCAutoInitializeCOM& operator=(const FCAutoInitializeCOM&) = delete;
  virtual ~FCAutoInitializeCOM() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

class CAsyncTaskQueue : public FCMessageWindow {
 public:
  CAsyncTaskQueue();
  ~CAsyncTaskQueue() override;

  // Takes the task and starts it when the queue has room.
  void AddTask(std::unique_ptr<CAsyncTask> task);
  void StartPending();
  // Returns once no task of this queue is executing; their completions arrive later.
  void WaitRunning();
  void CancelRunning();
  // Drops the pending tasks unrun and asks the running ones to stop.
  void CancelAll();

  [[nodiscard]] size_t running_count() const { return running_.size(); }
  [[nodiscard]] size_t pending_count() const { return pending_.size(); }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  [[nodiscard]] virtual size_t MaxRunning() const { return 1; }
  virtual void OnTaskStarting(CAsyncTask&) {}
  // Drops the pending tasks unrun, leaving the running ones.
  void DropPending() { pending_.clear(); }
  template <typename F>
  void ForEachRunning(F&& f) {
    for (auto& [id, task] : running_) f(*task);
  }

 private:
  static VOID CALLBACK WorkCallback(PTP_CALLBACK_INSTANCE, PVOID context, PTP_WORK);
  void Complete(int id);

  std::map<int, std::shared_ptr<CAsyncTask>> running_;
  std::deque<std::shared_ptr<CAsyncTask>> pending_;
};

}  // namespace view_render
