#include "view_render/async_task.h"

#include <vector>

namespace view_render {
namespace {

std::atomic<int> g_next_task_id{1};

void CloseWork(CAsyncTask& task, PTP_WORK& work) {
  (void)task;
  if (!work) return;
  WaitForThreadpoolWorkCallbacks(work, FALSE);
  CloseThreadpoolWork(work);
  work = nullptr;
}

}  // namespace

CAsyncTask::CAsyncTask() : id_(g_next_task_id.fetch_add(1)) {}

CAsyncTask::~CAsyncTask() = default;

bool CAsyncTask::SendThroughQueue(HWND target, UINT message, WPARAM wparam, LPARAM lparam) {
  ForwardRecord record{target, message, wparam, lparam};
  DWORD_PTR result = 0;
  // A send to a window that is gone fails at once; that is the signal to stop.
  if (!queue_window_ || !SendMessageTimeoutW(queue_window_, WM_APP_TASK_SEND, reinterpret_cast<WPARAM>(&record), 0,
                                             SMTO_BLOCK, INFINITE, &result))
    return false;
  return IsWindow(target) != FALSE;
}

CAsyncTaskQueue::CAsyncTaskQueue() { CreateMessageWindow(nullptr); }

CAsyncTaskQueue::~CAsyncTaskQueue() {
  WaitRunning();
  // The completions WaitRunning has just posted die with the window: a task that was running never
  // sees OnComplete once its queue is going.
  DestroyMessageWindow();
  pending_.clear();
  for (auto& [id, task] : running_) CloseWork(*task, task->work_);
  running_.clear();
}

void CAsyncTaskQueue::AddTask(std::unique_ptr<CAsyncTask> task) {
  if (!task) return;
  pending_.push_back(std::shared_ptr<CAsyncTask>(std::move(task)));
  StartPending();
}

void CAsyncTaskQueue::StartPending() {
  if (running_.size() >= MaxRunning()) return;
  while (!pending_.empty()) {
    std::shared_ptr<CAsyncTask> task = pending_.front();
    task->queue_window_ = hwnd();
    OnTaskStarting(*task);
    pending_.pop_front();
    running_[task->id()] = task;
    task->work_ = CreateThreadpoolWork(WorkCallback, task.get(), nullptr);
    if (task->work_) SubmitThreadpoolWork(task->work_);
    if (running_.size() >= MaxRunning()) break;
  }
}

VOID CALLBACK CAsyncTaskQueue::WorkCallback(PTP_CALLBACK_INSTANCE, PVOID context, PTP_WORK) {
  auto* task = static_cast<CAsyncTask*>(context);
  FCAutoInitializeCOM com;
  task->Run();
  // Blocks until the UI thread replies; fails at once when the window is gone.
  SendMessageW(task->queue_window_, WM_APP_TASK_DONE, static_cast<WPARAM>(task->id()),
               static_cast<LPARAM>(GetCurrentThreadId()));
}

LRESULT CAsyncTaskQueue::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_APP_TASK_DONE:
      // The worker waits for this answer; it gets it before any completion work.
      if (static_cast<DWORD>(lp) != GetCurrentThreadId()) ReplyMessage(0);
      Complete(static_cast<int>(wp));
      StartPending();
      return 0;
    case WM_APP_TASK_SEND:
      if (const auto* record = reinterpret_cast<const ForwardRecord*>(wp))
        SendMessageW(record->target, record->message, record->wparam, record->lparam);
      return 0;
  }
  return FCMessageWindow::WindowProc(msg, wp, lp);
}

void CAsyncTaskQueue::Complete(int id) {
  auto it = running_.find(id);
  if (it == running_.end()) return;
  const std::shared_ptr<CAsyncTask> task = it->second;  // alive through OnComplete whatever it does
  task->OnComplete();
  CloseWork(*task, task->work_);
  running_.erase(id);
}

void CAsyncTaskQueue::WaitRunning() {
  if (running_.empty()) return;
  // The window goes first: from now on a worker's send fails at once instead of waiting for this thread.
  DestroyMessageWindow();
  std::vector<int> ids;
  for (auto& [id, task] : running_) {
    ids.push_back(id);
    CloseWork(*task, task->work_);
  }
  CreateMessageWindow(nullptr);
  for (int id : ids)
    PostMessageW(hwnd(), WM_APP_TASK_DONE, static_cast<WPARAM>(id), static_cast<LPARAM>(GetCurrentThreadId()));
}

void CAsyncTaskQueue::CancelRunning() {
  for (auto& [id, task] : running_) task->Cancel();
}

void CAsyncTaskQueue::CancelAll() {
  pending_.clear();
  CancelRunning();
}

}  // namespace view_render
