#pragma once
// Opening a picture file and producing its pixels at the size the view needs.
//
// OpenImageFile reads only headers, shooting information and the colour profile, through the first
// back-end that takes the file: WIC (with libjpeg-turbo as its JPEG decoder), then GDI+, then the
// sibling library FreeImage.dll. The loader it returns is shared by the current picture and its
// background tasks; DecodeToSize, GetFullSource and GetScaledSource run on any thread. Pixels are always
// scaled first, then colour-managed and oriented, so those steps work on the small picture.
#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "image/bgra_buffer.h"
#include "image/exif_info.h"

namespace image {

class CWICImageLoader {
 public:
  Microsoft::WRL::ComPtr<IWICBitmapDecoder> decoder;  // null for the fallbacks and our JPEG decoder
  Microsoft::WRL::ComPtr<IWICBitmapSource> source;
  CImageExifInfo info;
  std::vector<std::uint8_t> colour_context;  // the embedded ICC profile; empty when there is none

  // The whole picture in 32bppBGRA as stored (not oriented, not colour-managed), decoded once.
  bool FullPixels(BgraBuffer& out) const;

 private:
  mutable std::mutex lock_;
  mutable BgraBuffer full_;
};

struct OpenOptions {
  bool orientation_by_tag = false;  // only matters before Windows 8
  std::wstring freeimage_folder;    // where FreeImage.dll is looked for; empty: the program's folder
};

// Nothing when no back-end reads the file.
[[nodiscard]] std::shared_ptr<CWICImageLoader> OpenImageFile(const std::wstring& path, const OpenOptions& options = {});
// The source's size, swapped when the orientation turns the picture; (0, 0) without a source.
[[nodiscard]] std::pair<int, int> GetOrientedSize(const CWICImageLoader* loader);

// The picture oriented, colour-managed (unless told not to) and scaled to exactly width x height.
bool DecodeToPixels(const CWICImageLoader& loader, int width, int height, bool colour_manage, BgraBuffer& out);
// The same, premultiplied and composed over the background into a new screen bitmap that replaces
// bitmap's; bitmap is left as it was on failure.
bool DecodeToSize(const CWICImageLoader& loader, int width, int height, bool colour_manage, HBRUSH background,
                  HBITMAP& bitmap);
// Premultiplies the pixels and composes them over the background into a new screen bitmap that
// replaces bitmap's; bitmap is left as it was on failure.
bool ComposePixels(const BgraBuffer& pixels, HBRUSH background, HBITMAP& bitmap);
// Full size, oriented, 32bppBGRA in memory.
[[nodiscard]] Microsoft::WRL::ComPtr<IWICBitmap> GetFullSource(const CWICImageLoader& loader, bool colour_manage);
// The full source without colour management at width x height (oriented sizes), high-quality cubic.
[[nodiscard]] Microsoft::WRL::ComPtr<IWICBitmap> GetScaledSource(const CWICImageLoader& loader, int width, int height);

// Copies a WIC source as 32bppBGRA; false when it cannot be read or is too large to hold.
bool ReadSourcePixels(IWICBitmapSource* source, BgraBuffer& out);
// A WIC bitmap holding a copy of the pixels; null without a factory.
[[nodiscard]] Microsoft::WRL::ComPtr<IWICBitmap> MakeWicBitmap(const BgraBuffer& pixels);

}  // namespace image
