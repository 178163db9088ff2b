#pragma once
// CSystemCache: preloading the neighbours of the current picture into the thumbnail cache, one file at
// a time on a worker, and serving a fit frame at once when the cache (or a rotation's preview) already
// has one. Preloading waits until the first picture has its fit frame (Start) and while it is switched
// off. UI thread only; the preload tasks touch only their own path and the thumbnail cache.
#include <windows.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "view_render/async_task.h"

namespace view_render {

inline constexpr UINT WM_APP_PRELOAD_DONE = 0x81F8;

class CAsyncCreateSystemCache : public CAsyncTask {
 public:
  explicit CAsyncCreateSystemCache(std::wstring path) : path_(std::move(path)) {}
  void Run() override;
  void OnComplete() override;
  [[nodiscard]] const std::wstring& path() const { return path_; }
  void set_target(HWND target) { target_ = target; }

 private:
  HWND target_ = nullptr;  // UI thread only
  std::wstring path_;
};

class CSystemCache : public CAsyncTaskQueue {
 public:
  struct Settings {
    std::function<bool()> preload_enable;
    std::function<bool()> ignore_embedded_icc;
    std::function<HBRUSH()> background;
  };
  static CSystemCache& Get();
  CSystemCache() = default;
  void SetSettings(Settings settings) { settings_ = std::move(settings); }

  // 0 none, 1 forward (after "next"), 2 backward (after "previous").
  void SetDirection(int direction) { direction_ = direction; }
  // Queues the neighbours' preloads; returns the paths queued, in order.
  std::vector<std::wstring> UpdateNeighbours(const std::wstring& folder, int index, const std::deque<std::wstring>& names);
  bool LookupFit(int width, int height, HBITMAP& bitmap);
  bool FindRunningPreload(HWND window);
  void Start();
  [[nodiscard]] const std::set<std::wstring>& started_names() const { return started_; }

 protected:
  [[nodiscard]] size_t MaxRunning() const override;
  void OnTaskStarting(CAsyncTask& task) override;

 private:
  Settings settings_;
  int direction_ = 0;
  std::set<std::wstring> started_;
  std::wstring folder_;
  bool started_flag_ = false;
};

}  // namespace view_render
