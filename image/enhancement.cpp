#include "image/enhancement.h"

namespace image {
namespace {

std::atomic<int> g_mode{0};

}  // namespace

void SetEnhancementMode(int mode) { g_mode.store(mode); }

int EnhancementMode() { return g_mode.load(); }

void ApplyEnhancement(FCObjImage& image, const std::atomic<int>* running) {
  const int mode = g_mode.load();
  if (mode < 1 || mode > 3 || !image.IsValid() || (running && running->load() == 0)) return;
  // The brightness, saturation and sharpening effects plug in here.
}

}  // namespace image
