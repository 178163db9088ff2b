#include "image/current_picture.h"

#include <shlwapi.h>

#include <vector>

#include "basic_lib/dib_info.h"
#include "image/wic_factory.h"

namespace image {

using Microsoft::WRL::ComPtr;

CCurrentPicture& CCurrentPicture::Instance() {
  static CCurrentPicture picture;
  return picture;
}

CCurrentPicture::~CCurrentPicture() { Reset(); }

view_render::CAsyncTaskQueue& CCurrentPicture::GetQueue() {
  if (!queue_) queue_ = std::make_unique<view_render::CAsyncTaskQueue>();
  return *queue_;
}

void CCurrentPicture::Open(const std::wstring& path) {
  GetQueue().CancelAll();
  path_ = path;
  loader_.reset();
  preview_flag_ = 0;
  preview_.Reset();
  if (!path_.empty() && PathFileExistsW(path_.c_str())) {
    wchar_t canonical[MAX_PATH] = {};
    if (path_.size() < MAX_PATH && PathCanonicalizeW(canonical, path_.c_str())) path_ = canonical;
    loader_ = OpenImageFile(path_, options_);
  }
  const auto [w, h] = GetOrientedSize(loader_.get());
  if (observer_) observer_(path_, loader_ ? &loader_->info : nullptr, w, h);
}

void CCurrentPicture::Reset() {
  if (queue_) queue_->CancelAll();
  preview_flag_ = 0;
  preview_.Reset();
  loader_.reset();
  queue_.reset();  // waits for a running task
}

bool CCurrentPicture::IsAnimated() const {
  if (!loader_ || !loader_->decoder) return false;
  GUID container{};
  UINT frames = 0;
  return SUCCEEDED(loader_->decoder->GetContainerFormat(&container)) && container == GUID_ContainerFormatGif &&
         SUCCEEDED(loader_->decoder->GetFrameCount(&frames)) && frames > 1;
}

bool CCurrentPicture::IsLongPicture() const {
  const auto [w, h] = GetOrientedSize(loader_.get());
  return w < 1280 && 4LL * w < h;
}

ComPtr<IWICBitmap> WicBitmapFromHbitmap(HBITMAP bitmap) {
  ComPtr<IWICBitmap> out;
  IWICImagingFactory* factory = ImagingFactory();
  BITMAP info{};
  if (!factory || !bitmap || !GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight == 0)
    return out;
  const int w = info.bmWidth, h = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  if (SUCCEEDED(factory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, &out))) {
    UINT ow = 0, oh = 0;
    if (SUCCEEDED(out->GetSize(&ow, &oh)) && static_cast<int>(ow) == w && static_cast<int>(oh) == h) return out;
    out.Reset();
  }
  // The rows through GDI, top-down, alpha made opaque.
  std::vector<std::uint32_t> pixels(static_cast<size_t>(w) * h);
  if (!basic_lib::ReadOpaqueRows(bitmap, w, h, pixels.data())) return out;
  factory->CreateBitmapFromMemory(static_cast<UINT>(w), static_cast<UINT>(h), GUID_WICPixelFormat32bppBGRA,
                                  static_cast<UINT>(w) * 4, static_cast<UINT>(pixels.size() * 4),
                                  reinterpret_cast<BYTE*>(pixels.data()), &out);
  return out;
}

void CCurrentPicture::SetPreview(HBITMAP bitmap) {
  preview_flag_ = 1;
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return;
  UINT current = 0, height = 0;
  if (preview_ && SUCCEEDED(preview_->GetSize(&current, &height)) && static_cast<LONG>(current) >= info.bmWidth) return;
  if (ComPtr<IWICBitmap> made = WicBitmapFromHbitmap(bitmap)) preview_ = made;
}

void CCurrentPicture::CopyToClipboard(const std::function<void(const std::wstring&)>& copy) {
  if (!loader_) return;
  GetQueue().WaitRunning();
  if (copy) copy(path_);
}

}  // namespace image
