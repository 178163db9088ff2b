#pragma once
// CCurrentFolderImage: the ordered pictures of the current picture's folder and the position in them.
// The list is built on a scan thread of its own and handed over whole through a sent message; until
// then it holds only the opened picture. Previous and next wait for the scan; opening never does.
// Threads: everything here is the UI thread's, except the scan, which reads only its arguments and the
// cancel flag, and which the UI thread stops only after its message window is gone.
#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "folder/folder_scan.h"
#include "view_render/message_window.h"

namespace folder {

inline constexpr UINT WM_APP_FOLDER_SCANNED = WM_APP + 0x32;
inline constexpr UINT WM_APP_FOLDER_LIST_CHANGED = WM_APP + 0x1F9;

class CCurrentFolderImage : public view_render::FCMessageWindow {
 public:
  // What the list tells others: the title its position, the system cache the neighbours.
  struct Listeners {
    std::function<void(int index, int count)> position;
    std::function<void(const std::wstring& folder, int index, const std::deque<std::wstring>& names)> neighbours;
    std::function<bool()> loop;  // "view_folder_loop"
  };

  CCurrentFolderImage() = default;
  ~CCurrentFolderImage() override;
  void SetListeners(Listeners listeners) { listeners_ = std::move(listeners); }

  void Update(HWND notify, const std::wstring& path);
  [[nodiscard]] bool CanMove(int offset) const;
  [[nodiscard]] std::wstring GetNeighbourPath(int offset) const;
  std::wstring RemoveAndGetNext(const std::wstring& deleted);
  void Reset();
  // At exit: the scan stopped and waited for, the list emptied.
  void Shutdown();

  [[nodiscard]] bool scanning() const { return thread_ != nullptr; }
  [[nodiscard]] const std::wstring& folder() const { return folder_; }
  [[nodiscard]] const std::deque<std::wstring>& names() const { return names_; }
  [[nodiscard]] int current_index() const { return current_; }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static unsigned __stdcall ScanThread(void* self);
  void StopScan();
  void Report(bool send);
  [[nodiscard]] std::wstring Join(const std::wstring& name) const;

  HWND notify_ = nullptr;
  std::wstring folder_;
  std::deque<std::wstring> names_;
  int current_ = -1;
  HANDLE thread_ = nullptr;
  std::atomic<int> cancel_{0};
  // What the running scan reads: set before it starts, not touched while it runs.
  std::wstring scan_folder_, scan_name_;
  Listeners listeners_;
};

}  // namespace folder
