#include "view_render/system_cache.h"

#include <shlwapi.h>

#include "image/current_picture.h"
#include "image/format_table.h"
#include "image/orientation.h"
#include "image/thumbnail_cache.h"

namespace view_render {

void CAsyncCreateSystemCache::Run() { (void)image::RequestShellThumbnail(path_, 0, 2); }

void CAsyncCreateSystemCache::OnComplete() {
  if (target_ && IsWindow(target_)) SendMessageW(target_, WM_APP_PRELOAD_DONE, 0, 0);
}

CSystemCache& CSystemCache::Get() {
  static CSystemCache cache;
  return cache;
}

size_t CSystemCache::MaxRunning() const {
  const bool enabled = settings_.preload_enable ? settings_.preload_enable() : true;
  return enabled && started_flag_ ? 1 : 0;
}

void CSystemCache::OnTaskStarting(CAsyncTask& task) {
  const std::wstring& path = static_cast<CAsyncCreateSystemCache&>(task).path();
  started_.insert(PathFindFileNameW(path.c_str()));
}

std::vector<std::wstring> CSystemCache::UpdateNeighbours(const std::wstring& folder, int index,
                                                         const std::deque<std::wstring>& names) {
  DropPending();
  if (folder != folder_) {
    direction_ = 0;
    started_.clear();
    folder_ = folder;
  }
  static const std::vector<int> kOffsets[] = {{1, -1, 2, 3}, {1, 2, 3}, {-1, -2, -3}};
  std::vector<std::wstring> queued;
  for (int offset : kOffsets[direction_ >= 0 && direction_ <= 2 ? direction_ : 0]) {
    const long long i = static_cast<long long>(index) + offset;
    if (i < 0 || i >= static_cast<long long>(names.size())) continue;
    const std::wstring& name = names[static_cast<size_t>(i)];
    if (!image::IsWritableType(image::ClassifyImagePath(name)) || started_.count(name)) continue;
    wchar_t path[MAX_PATH] = {};
    if (folder.size() >= MAX_PATH || wcscpy_s(path, folder.c_str()) != 0 || !PathAppendW(path, name.c_str())) continue;
    queued.push_back(path);
    AddTask(std::make_unique<CAsyncCreateSystemCache>(path));
  }
  return queued;
}

bool CSystemCache::FindRunningPreload(HWND window) {
  const std::wstring& current = image::CCurrentPicture::Instance().GetPath();
  bool found = false;
  ForEachRunning([&](CAsyncTask& task) {
    auto& preload = static_cast<CAsyncCreateSystemCache&>(task);
    if (!found && preload.path() == current) {
      preload.set_target(window);
      found = true;
    }
  });
  return found;
}

bool CSystemCache::LookupFit(int width, int height, HBITMAP& bitmap) {
  image::CCurrentPicture& picture = image::CCurrentPicture::Instance();
  const HBRUSH background = settings_.background ? settings_.background() : nullptr;
  if (picture.HasPreview()) {
    IWICBitmapSource* preview = picture.GetPreview();
    if (!preview) return false;
    image::CWICImageLoader loader;
    loader.source = preview;
    (void)image::DecodeToSize(loader, width, height, false, background, bitmap);
    UINT w = 0, h = 0;
    return SUCCEEDED(preview->GetSize(&w, &h)) && static_cast<int>(w) >= width;
  }
  const std::wstring& path = picture.GetPath();
  if (!image::IsWritableType(image::ClassifyImagePath(path))) return false;
  const image::CShellThumbnailRequest request = image::RequestShellThumbnail(path, std::max(width, height), 0);
  const auto loader = picture.GetLoader();
  const bool ignore = settings_.ignore_embedded_icc && settings_.ignore_embedded_icc();
  const std::vector<std::uint8_t>* colour = ignore && loader ? &loader->colour_context : nullptr;
  if (!request.bitmap || !image::ThumbnailToSize(request, width, height, bitmap, colour, background)) return false;
  return !request.low_quality;
}

void CSystemCache::Start() {
  if (started_flag_) return;
  started_flag_ = true;
  StartPending();
}

}  // namespace view_render
