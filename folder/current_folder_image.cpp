#include "folder/current_folder_image.h"

#include <objbase.h>
#include <process.h>
#include <shlwapi.h>

#include <algorithm>

#include "basic_lib/text_case.h"

namespace folder {
namespace {

void SplitPath(const std::wstring& path, std::wstring& folder, std::wstring& name) {
  const size_t slash = path.find_last_of(L"\\/");
  folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  name = slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

CCurrentFolderImage::~CCurrentFolderImage() { StopScan(); }

std::wstring CCurrentFolderImage::Join(const std::wstring& name) const {
  wchar_t path[MAX_PATH] = {};
  if (folder_.size() >= MAX_PATH || wcscpy_s(path, folder_.c_str()) != 0 || !PathAppendW(path, name.c_str())) return {};
  return path;
}

void CCurrentFolderImage::Report(bool send) {
  if (listeners_.position) listeners_.position(current_, static_cast<int>(names_.size()));
  if (listeners_.neighbours) listeners_.neighbours(folder_, current_, names_);
  if (notify_ && IsWindow(notify_)) {
    if (send) SendMessageW(notify_, WM_APP_FOLDER_LIST_CHANGED, 0, 0);
    else PostMessageW(notify_, WM_APP_FOLDER_LIST_CHANGED, 0, 0);
  }
}

void CCurrentFolderImage::Update(HWND notify, const std::wstring& path) {
  notify_ = notify;
  std::wstring new_folder, name;
  SplitPath(path, new_folder, name);
  if (thread_) {
    StopScan();
  } else if (basic_lib::EqualsNoCase(new_folder, folder_)) {
    for (size_t i = 0; i < names_.size(); ++i)
      if (basic_lib::EqualsNoCase(names_[i], name)) {
        current_ = static_cast<int>(i);
        if (listeners_.position) listeners_.position(current_, static_cast<int>(names_.size()));
        if (listeners_.neighbours) listeners_.neighbours(folder_, current_, names_);
        if (notify_ && IsWindow(notify_)) SendMessageW(notify_, WM_APP_FOLDER_LIST_CHANGED, 0, 0);
        return;
      }
  }
  folder_ = new_folder;
  names_.assign(1, name);
  current_ = 0;
  if (listeners_.position) listeners_.position(0, 1);
  CreateMessageWindow(nullptr);
  cancel_ = 0;
  scan_folder_ = folder_;
  scan_name_ = name;
  thread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ScanThread, this, 0, nullptr));
}

unsigned __stdcall CCurrentFolderImage::ScanThread(void* param) {
  auto* self = static_cast<CCurrentFolderImage*>(param);
  const HRESULT com = CoInitialize(nullptr);
  auto result = std::make_unique<CFolderScanResult>();
  ScanFolder(self->scan_folder_, self->scan_name_, self->cancel_, *result);
  // The window belongs to the UI thread; when it is gone the send fails and the result is simply freed.
  if (HWND window = self->hwnd()) SendMessageW(window, WM_APP_FOLDER_SCANNED, reinterpret_cast<WPARAM>(result.get()), 0);
  result.reset();
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}

LRESULT CCurrentFolderImage::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_APP_FOLDER_SCANNED) return FCMessageWindow::WindowProc(msg, wp, lp);
  auto* result = reinterpret_cast<CFolderScanResult*>(wp);
  if (result && result->found_index != -1) {
    current_ = result->found_index;
    names_.assign(result->names.begin(), result->names.end());
  }
  ReplyMessage(0);
  if (thread_) {
    WaitForSingleObject(thread_, INFINITE);  // it only frees its result and ends now
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  DestroyMessageWindow();
  Report(false);
  return 0;
}

void CCurrentFolderImage::StopScan() {
  // The window first: a scan that finishes now finds nobody to report to.
  DestroyMessageWindow();
  cancel_ = 1;
  if (thread_) {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
}

void CCurrentFolderImage::Reset() {
  notify_ = nullptr;
  folder_.clear();
  names_.clear();
  current_ = -1;
}

void CCurrentFolderImage::Shutdown() {
  StopScan();
  Reset();
}

bool CCurrentFolderImage::CanMove(int offset) const {
  const int count = static_cast<int>(names_.size());
  if (count < 2 || thread_) return false;
  const bool loop = listeners_.loop && listeners_.loop();
  const long long i = static_cast<long long>(current_) + offset;
  return loop || (i >= 0 && i < count);
}

std::wstring CCurrentFolderImage::GetNeighbourPath(int offset) const {
  if (!CanMove(offset)) return {};
  const int count = static_cast<int>(names_.size());
  long long i = static_cast<long long>(current_) + offset;
  if (listeners_.loop && listeners_.loop()) {
    if (i < 0) i = count - 1;
    else if (i >= count) i = 0;
  }
  return Join(names_[static_cast<size_t>(i)]);
}

std::wstring CCurrentFolderImage::RemoveAndGetNext(const std::wstring& deleted) {
  if (thread_) {
    StopScan();
    Reset();
  }
  std::wstring ignored, name;
  SplitPath(deleted, ignored, name);
  for (auto it = names_.begin(); it != names_.end(); ++it)
    if (basic_lib::EqualsNoCase(*it, name)) {
      names_.erase(it);
      break;
    }
  if (names_.empty()) {
    Reset();
    return {};
  }
  current_ = std::clamp(current_, 0, static_cast<int>(names_.size()) - 1);
  return Join(names_[static_cast<size_t>(current_)]);
}

}  // namespace folder
