#pragma once
// CCurrentPicture: the picture on screen, one per process. It holds the shown path, the decoded-image
// source of that file, the task queue every background job for the picture runs on, and the preview a
// rotation leaves until the file itself catches up. Opening another picture ends the old one's work
// first; tasks keep their own shared reference to the loader, so it outlives the switch while they run.
// UI thread only.
#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <string>

#include "image/image_loader.h"
#include "view_render/async_task.h"

namespace image {

class CCurrentPicture {
 public:
  static CCurrentPicture& Instance();
  CCurrentPicture() = default;  // tests make their own
  CCurrentPicture(const CCurrentPicture&) = delete;
  CCurrentPicture& operator=(const CCurrentPicture&) = delete;
  ~CCurrentPicture();

  // Told of every opened picture: path, shooting information (null without a loader), oriented size.
  using PictureObserver = std::function<void(const std::wstring&, const CImageExifInfo*, int, int)>;
  void SetPictureObserver(PictureObserver observer) { observer_ = std::move(observer); }
  void SetOpenOptions(const OpenOptions& options) { options_ = options; }

  void Open(const std::wstring& path);
  void Reset();
  [[nodiscard]] view_render::CAsyncTaskQueue& GetQueue();
  [[nodiscard]] const std::wstring& GetPath() const { return path_; }
  [[nodiscard]] std::shared_ptr<CWICImageLoader> GetLoader() const { return loader_; }

  [[nodiscard]] bool IsAnimated() const;
  [[nodiscard]] bool IsLongPicture() const;

  // Keeps the wider of the handed-over bitmaps as the preview.
  void SetPreview(HBITMAP bitmap);
  [[nodiscard]] bool HasPreview() const { return preview_flag_ != 0; }
  [[nodiscard]] IWICBitmapSource* GetPreview() const { return preview_.Get(); }

  // Waits until no task of the picture runs, then lets copy put the file at the path on the clipboard.
  void CopyToClipboard(const std::function<void(const std::wstring&)>& copy);

 private:
  std::wstring path_;
  std::shared_ptr<CWICImageLoader> loader_;
  std::unique_ptr<view_render::CAsyncTaskQueue> queue_;
  int preview_flag_ = 0;
  Microsoft::WRL::ComPtr<IWICBitmapSource> preview_;
  OpenOptions options_;
  PictureObserver observer_;
};

// A WIC bitmap of a GDI bitmap with its alpha ignored; the platform's conversion where it works, else a
// copy through GetDIBits.
[[nodiscard]] Microsoft::WRL::ComPtr<IWICBitmap> WicBitmapFromHbitmap(HBITMAP bitmap);

}  // namespace image
