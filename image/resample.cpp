#include "image/resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace image {
namespace {

constexpr int kWeightBits = 14;
constexpr int kOne = 1 << kWeightBits;

// For each target coordinate: the first source index and the weights (summing to kOne) from there on.
struct Contributions {
  std::vector<int> first;
  std::vector<int> count;
  std::vector<std::int32_t> weights;  // count[i] weights per target i, at offset[i]
  std::vector<int> offset;
};

double Cubic(double x) {  // Catmull-Rom
  x = std::fabs(x);
  if (x < 1) return 1.5 * x * x * x - 2.5 * x * x + 1;
  if (x < 2) return -0.5 * x * x * x + 2.5 * x * x - 4 * x + 2;
  return 0;
}

double Linear(double x) {
  x = std::fabs(x);
  return x < 1 ? 1 - x : 0;
}

Contributions Build(int source, int target, ResampleFilter filter) {
  Contributions c;
  c.first.resize(target);
  c.count.resize(target);
  c.offset.resize(target);
  const double scale = static_cast<double>(target) / source;
  std::vector<double> w;
  for (int i = 0; i < target; ++i) {
    w.clear();
    int first = 0;
    if (scale < 1) {
      // The source interval [i / scale, (i + 1) / scale) weighted by how much of each pixel it covers.
      const double from = i / scale, to = (i + 1) / scale;
      first = static_cast<int>(std::floor(from));
      const int last = std::min(source - 1, static_cast<int>(std::ceil(to)) - 1);
      for (int s = first; s <= last; ++s) w.push_back(std::min<double>(s + 1, to) - std::max<double>(s, from));
    } else {
      const double centre = (i + 0.5) / scale - 0.5;
      const bool cubic = filter == ResampleFilter::kCubic;
      const int radius = cubic ? 2 : 1;
      first = static_cast<int>(std::floor(centre)) - radius + 1;
      for (int s = first; s < first + 2 * radius; ++s) w.push_back(cubic ? Cubic(s - centre) : Linear(s - centre));
    }
    // Fold taps outside the picture onto its edge, then normalise to fixed point.
    const int lo = std::clamp(first, 0, source - 1);
    const int hi = std::clamp(first + static_cast<int>(w.size()) - 1, 0, source - 1);
    std::vector<double> folded(static_cast<size_t>(hi - lo + 1), 0.0);
    double sum = 0;
    for (size_t k = 0; k < w.size(); ++k) {
      folded[static_cast<size_t>(std::clamp(first + static_cast<int>(k), 0, source - 1) - lo)] += w[k];
      sum += w[k];
    }
    c.first[i] = lo;
    c.count[i] = static_cast<int>(folded.size());
    c.offset[i] = static_cast<int>(c.weights.size());
    std::int32_t total = 0;
    for (double f : folded) {
      const auto q = static_cast<std::int32_t>(std::lround(f / sum * kOne));
      c.weights.push_back(q);
      total += q;
    }
    // Rounding error goes to the largest weight, so a flat area stays exactly flat.
    auto largest = std::max_element(c.weights.begin() + c.offset[i], c.weights.end());
    *largest += kOne - total;
  }
  return c;
}

inline std::uint32_t Pack(const std::int32_t (&acc)[4]) {
  std::uint32_t out = 0;
  for (int ch = 0; ch < 4; ++ch) {
    const std::int32_t v = std::clamp((acc[ch] + (kOne / 2)) >> kWeightBits, 0, 255);
    out |= static_cast<std::uint32_t>(v) << (8 * ch);
  }
  return out;
}

}  // namespace

bool Resample(const BgraBuffer& in, int width, int height, ResampleFilter filter, BgraBuffer& out) {
  if (in.empty() || width <= 0 || height <= 0) return false;
  if (width == in.width && height == in.height) {
    out = in;
    return true;
  }
  const Contributions cx = Build(in.width, width, filter);
  const Contributions cy = Build(in.height, height, filter);
  BgraBuffer mid;
  mid.Resize(width, in.height);
  for (int y = 0; y < in.height; ++y) {
    const std::uint32_t* src = in.Row(y);
    std::uint32_t* dst = mid.Row(y);
    for (int x = 0; x < width; ++x) {
      std::int32_t acc[4] = {0, 0, 0, 0};
      const std::int32_t* w = cx.weights.data() + cx.offset[x];
      const std::uint32_t* p = src + cx.first[x];
      for (int k = 0; k < cx.count[x]; ++k) {
        const std::uint32_t px = p[k];
        acc[0] += static_cast<std::int32_t>(px & 0xFF) * w[k];
        acc[1] += static_cast<std::int32_t>((px >> 8) & 0xFF) * w[k];
        acc[2] += static_cast<std::int32_t>((px >> 16) & 0xFF) * w[k];
        acc[3] += static_cast<std::int32_t>(px >> 24) * w[k];
      }
      dst[x] = Pack(acc);
    }
  }
  out.Resize(width, height);
  std::vector<std::int32_t> acc(static_cast<size_t>(width) * 4);
  for (int y = 0; y < height; ++y) {
    std::fill(acc.begin(), acc.end(), 0);
    const std::int32_t* w = cy.weights.data() + cy.offset[y];
    for (int k = 0; k < cy.count[y]; ++k) {
      const std::uint32_t* src = mid.Row(cy.first[y] + k);
      const std::int32_t weight = w[k];
      for (int x = 0; x < width; ++x) {
        const std::uint32_t px = src[x];
        std::int32_t* a = acc.data() + 4 * x;
        a[0] += static_cast<std::int32_t>(px & 0xFF) * weight;
        a[1] += static_cast<std::int32_t>((px >> 8) & 0xFF) * weight;
        a[2] += static_cast<std::int32_t>((px >> 16) & 0xFF) * weight;
        a[3] += static_cast<std::int32_t>(px >> 24) * weight;
      }
    }
    std::uint32_t* dst = out.Row(y);
    for (int x = 0; x < width; ++x) {
      const std::int32_t* a = acc.data() + 4 * x;
      const std::int32_t four[4] = {a[0], a[1], a[2], a[3]};
      dst[x] = Pack(four);
    }
  }
  return true;
}

}  // namespace image
