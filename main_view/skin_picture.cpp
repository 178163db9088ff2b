#include "main_view/skin_picture.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "app/app_paths.h"

namespace main_view {

std::shared_ptr<const image::FCObjImage> SharedSkinPicture(const wchar_t* name, bool premultiplied) {
  static std::map<std::pair<std::wstring, bool>, std::shared_ptr<const image::FCObjImage>> cache;
  auto& slot = cache[{name, premultiplied}];
  if (slot) return slot;
  auto picture = std::make_shared<image::FCObjImage>();
  const std::wstring path = app::GetExeFolder() + L"resources\\" + name;
  auto bitmap = std::make_unique<Gdiplus::Bitmap>(path.c_str());
  // A missing or broken file stays an empty image, not read again.
  if (bitmap->GetLastStatus() == Gdiplus::Ok && bitmap->GetWidth() != 0)
    (void)picture->CreateFromGdiplusBitmap(*bitmap, premultiplied ? PixelFormat32bppPARGB : PixelFormat32bppARGB);
  slot = std::move(picture);
  return slot;
}

bool LoadSkinPicture(const wchar_t* name, bool premultiplied, image::FCObjImage& out) {
  out.Destroy();
  const auto shared = SharedSkinPicture(name, premultiplied);
  if (!shared->IsValid()) return false;
  out.CopyFrom(*shared);
  return out.IsValid();
}

void MirrorHorizontally(image::FCObjImage& picture) {
  if (!picture.IsValid() || picture.ColorBits() != 32) return;
  for (int y = 0; y < picture.Height(); ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(picture.RowPointer(y));
    std::reverse(row, row + picture.Width());
  }
}

void CEffectFillCurrentAlpha::Apply(image::FCObjImage& picture) const {
  if (!picture.IsValid() || picture.ColorBits() != 32) return;
  const int percent = std::clamp(percent_, 0, 100);
  for (int y = 0; y < picture.Height(); ++y) {
    std::uint8_t* px = picture.RowPointer(y);
    for (int x = 0; x < picture.Width(); ++x, px += 4) {
      const int alpha = px[3] * percent / 100;
      px[3] = static_cast<std::uint8_t>(alpha);
      for (int c = 0; c < 3; ++c) px[c] = static_cast<std::uint8_t>(px[c] * alpha / 255);
    }
  }
}

}  // namespace main_view
