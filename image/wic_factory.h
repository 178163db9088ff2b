#pragma once
// The one imaging factory of the process, made at start-up and released at exit; null when it could not
// be made (decoders then use their other back-ends). Read from any thread once made.
#include <wincodec.h>

namespace image {

void CreateImagingFactory();
void ReleaseImagingFactory();
[[nodiscard]] IWICImagingFactory* ImagingFactory();

}  // namespace image
