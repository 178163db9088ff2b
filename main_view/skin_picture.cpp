#include "main_view/skin_picture.h"

#include <algorithm>
#include <memory>
#include <string>

#include "app/app_paths.h"

namespace main_view {

bool LoadSkinPicture(const wchar_t* name, bool premultiplied, image::FCObjImage& out) {
  out.Destroy();
  const std::wstring path = app::GetExeFolder() + L"resources\\" + name;
  auto bitmap = std::make_unique<Gdiplus::Bitmap>(path.c_str());
  if (bitmap->GetLastStatus() != Gdiplus::Ok || bitmap->GetWidth() == 0) return false;
  return out.CreateFromGdiplusBitmap(*bitmap, premultiplied ? PixelFormat32bppPARGB : PixelFormat32bppARGB);
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
