#pragma once
// Large thumbnails of pictures, made ahead of time so that moving to a neighbour needs no decode. On
// Windows the shell's thumbnail cache would hold them; Wine has none, so the viewer keeps its own:
// extracted through the viewer's decoder at reduced size (upright and in sRGB, as the shell gives them),
// held in memory up to a budget, keyed by path, size and last-write time, least recently used first out.
// Any thread: the cache takes a lock.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "image/bgra_buffer.h"

namespace image {

// The large size the cache is asked for (Windows 10 and later).
inline constexpr int kLargeThumbnail = 1280;

struct CShellThumbnailRequest {
  std::shared_ptr<const BgraBuffer> bitmap;  // null when nothing came back
  bool low_quality = false;
  [[nodiscard]] bool usable() const { return bitmap && !low_quality; }
};

// mode 0: cached only (when nothing is cached, a JPEG's embedded EXIF thumbnail, marked low quality, as
// the shell's fast extraction gives it);
// 1: the requested size, extracting when needed; 2: the large size, extracting when needed.
[[nodiscard]] CShellThumbnailRequest RequestShellThumbnail(const std::wstring& path, int requested_size, int mode);

// The thumbnail scaled to width x height, colour-managed back to the embedded profile when one is given
// (the thumbnail is in sRGB), premultiplied and composed over the background into a new screen bitmap.
bool ThumbnailToSize(const CShellThumbnailRequest& request, int width, int height, HBITMAP& bitmap,
                     const std::vector<std::uint8_t>* colour_context, HBRUSH background);

class CThumbnailCache {
 public:
  static CThumbnailCache& Get();
  void SetBudget(size_t bytes);
  void Clear();
  [[nodiscard]] size_t bytes() const;
  [[nodiscard]] size_t extractions() const;  // how many thumbnails were decoded, for diagnostics

 private:
  friend CShellThumbnailRequest RequestShellThumbnail(const std::wstring&, int, int);
  struct Impl;
  CThumbnailCache();
  std::shared_ptr<Impl> impl_;
};

}  // namespace image
