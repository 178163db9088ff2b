#pragma once
// Draws a control tree into a device context: colours, state pictures, borders and anti-aliased text.
// The window gives it a memory DC; native edit windows paint themselves.
#include <windows.h>

#include "ui_toolkit/layout_document.h"
#include "ui_toolkit/toolkit.h"

namespace ui_toolkit {

struct PaintContext {
  HDC dc = nullptr;
  const LayoutDocument* layout = nullptr;
  PackageSource source = PackageSource::kResourcePackage;
  POINT origin{};   // where client (0, 0) lies in the DC (the shadow margin)
  RECT clip{};      // client coordinates of the area being repainted
  bool layered = false;  // the target belongs to a layered window: keep its alpha channel meaningful
};

void PaintWindowBackground(const PaintContext& ctx, int width, int height);
void PaintControl(const PaintContext& ctx, const CControlUI& control);
// Draws a picture description inside a control rectangle (client coordinates).
void PaintImage(const PaintContext& ctx, const ImageSpec& image, const Rect& bounds);
// Text of a control with its font, colour and alignment.
void PaintText(const PaintContext& ctx, const CControlUI& control, const std::wstring& text, Argb colour);

}  // namespace ui_toolkit
