#include "image/colour_transform.h"

#include <lcms2.h>

#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace image {
namespace {

struct ProfileCloser {
  void operator()(void* p) const { cmsCloseProfile(p); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;

struct TransformDeleter {
  void operator()(void* t) const { cmsDeleteTransform(t); }
};
using Transform = std::unique_ptr<void, TransformDeleter>;

bool Near(const cmsCIEXYZ* a, const cmsCIEXYZ* b) {
  return a && b && std::fabs(a->X - b->X) < 0.002 && std::fabs(a->Y - b->Y) < 0.002 && std::fabs(a->Z - b->Z) < 0.002;
}

bool SameCurve(const cmsToneCurve* a, const cmsToneCurve* b) {
  if (!a || !b) return false;
  for (int i = 1; i < 16; ++i) {
    const float x = static_cast<float>(i) / 16.0f;
    if (std::fabs(cmsEvalToneCurveFloat(a, x) - cmsEvalToneCurveFloat(b, x)) > 0.003f) return false;
  }
  return true;
}

bool ProfileIsSrgb(cmsHPROFILE p) {
  if (cmsGetColorSpace(p) != cmsSigRgbData) return false;
  Profile srgb(cmsCreate_sRGBProfile());
  for (cmsTagSignature tag : {cmsSigRedColorantTag, cmsSigGreenColorantTag, cmsSigBlueColorantTag})
    if (!Near(static_cast<const cmsCIEXYZ*>(cmsReadTag(p, tag)), static_cast<const cmsCIEXYZ*>(cmsReadTag(srgb.get(), tag))))
      return false;
  for (cmsTagSignature tag : {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag})
    if (!SameCurve(static_cast<const cmsToneCurve*>(cmsReadTag(p, tag)),
                   static_cast<const cmsToneCurve*>(cmsReadTag(srgb.get(), tag))))
      return false;
  return true;
}

// A null transform in the cache means "nothing to do" (sRGB); a missing entry, "not made yet".
class TransformCache {
 public:
  static TransformCache& Get() {
    static TransformCache cache;
    return cache;
  }
  // Sets usable to false when the profile cannot be used.
  cmsHTRANSFORM Find(std::span<const std::uint8_t> profile, ColourDirection direction, bool& usable) {
    std::string key(reinterpret_cast<const char*>(profile.data()), profile.size());
    key.push_back(direction == ColourDirection::kToSrgb ? 't' : 'f');
    std::lock_guard<std::mutex> hold(lock_);
    auto it = cache_.find(key);
    if (it == cache_.end()) it = cache_.emplace(std::move(key), Make(profile, direction)).first;
    usable = it->second.usable;
    return it->second.transform.get();
  }

 private:
  struct Entry {
    bool usable = false;
    Transform transform;
  };
  static Entry Make(std::span<const std::uint8_t> bytes, ColourDirection direction) {
    Entry e;
    Profile embedded(cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size())));
    if (!embedded || cmsGetColorSpace(embedded.get()) != cmsSigRgbData) return e;
    e.usable = true;
    if (ProfileIsSrgb(embedded.get())) return e;  // identity: lcms2 would still touch every pixel
    Profile srgb(cmsCreate_sRGBProfile());
    void* from = direction == ColourDirection::kToSrgb ? embedded.get() : srgb.get();
    void* to = direction == ColourDirection::kToSrgb ? srgb.get() : embedded.get();
    e.transform.reset(cmsCreateTransform(from, TYPE_BGRA_8, to, TYPE_BGRA_8, INTENT_PERCEPTUAL,
                                         cmsFLAGS_COPY_ALPHA | cmsFLAGS_NOCACHE));
    e.usable = e.transform != nullptr;
    return e;
  }
  std::mutex lock_;
  std::map<std::string, Entry> cache_;  // keyed by the profile bytes and the direction
};

}  // namespace

bool IsSrgbProfile(std::span<const std::uint8_t> bytes) {
  Profile p(cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size())));
  return p && ProfileIsSrgb(p.get());
}

bool TransformColours(std::span<const std::uint8_t> profile, ColourDirection direction, BgraBuffer& pixels) {
  if (profile.empty()) return false;
  bool usable = false;
  cmsHTRANSFORM transform = TransformCache::Get().Find(profile, direction, usable);
  if (!usable) return false;
  if (transform && !pixels.empty())
    cmsDoTransform(transform, pixels.pixels.data(), pixels.pixels.data(),
                   static_cast<cmsUInt32Number>(pixels.pixels.size()));
  return true;
}

}  // namespace image
