#pragma once
// Resampling a BGRA picture to any size. Shrinking averages every source pixel under each target pixel
// by the area it covers (what "Fant" promises and Wine's scaler does not do); enlarging uses a cubic
// (Catmull-Rom) or linear kernel. Separable: one horizontal pass, one vertical pass, fixed-point weights.
#include "image/bgra_buffer.h"

namespace image {

enum class ResampleFilter { kArea, kCubic, kLinear };

// out becomes width x height; false for an empty input or size. Shrinking an axis always averages by
// area; the filter chooses how an axis that grows is interpolated (kArea grows linearly).
bool Resample(const BgraBuffer& in, int width, int height, ResampleFilter filter, BgraBuffer& out);

}  // namespace image
