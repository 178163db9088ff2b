#pragma once
// The pictures of the main window's child windows: PNG files in the "resources" folder beside the program,
// read with GDI+ into 32-bit images, premultiplied for drawing or straight when an effect works on them
// first. A missing or broken file leaves the image empty, and the item that draws it draws nothing.
#include <memory>

#include "image/obj_image.h"

namespace main_view {

// Each file is read once per process (the state items come and go with every picture shown); the
// shared image is never changed. LoadSkinPicture gives a copy to change.
[[nodiscard]] std::shared_ptr<const image::FCObjImage> SharedSkinPicture(const wchar_t* name, bool premultiplied);
bool LoadSkinPicture(const wchar_t* name, bool premultiplied, image::FCObjImage& out);
// The picture mirrored left to right, in place.
void MirrorHorizontally(image::FCObjImage& picture);

// The page-turn arrow's fade: each alpha scaled by the opacity percent, then the colours premultiplied
// by the new alpha. 32-bit pictures only.
class CEffectFillCurrentAlpha {
 public:
  explicit CEffectFillCurrentAlpha(int alpha_percent) : percent_(alpha_percent) {}
  void Apply(image::FCObjImage& picture) const;

 private:
  int percent_;
};

}  // namespace main_view
