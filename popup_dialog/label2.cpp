#include "popup_dialog/label2.h"

#include <memory>

#include "basic_lib/gdiplus.h"
#include "basic_lib/scoped_handle.h"
#include "basic_lib/text_case.h"
#include "ui_toolkit/painter.h"
#include "ui_toolkit/picture.h"

namespace popup_dialog {
namespace {

using ui_toolkit::HorizontalAlign;

std::unique_ptr<Gdiplus::Font> MakeFont(const ui_toolkit::PaintContext& ctx, int index) {
  const ui_toolkit::FontSpec* font_def = ctx.layout ? ctx.layout->FindFont(index) : nullptr;
  if (!font_def) {
    // No font of the layout: the one selected into the device context.
    auto font = std::make_unique<Gdiplus::Font>(ctx.dc, static_cast<HFONT>(GetCurrentObject(ctx.dc, OBJ_FONT)));
    if (font->GetLastStatus() == Gdiplus::Ok) return font;
    return std::make_unique<Gdiplus::Font>(Gdiplus::FontFamily::GenericSansSerif(), 12.0f, Gdiplus::FontStyleRegular,
                                           Gdiplus::UnitPixel);
  }
  int style = Gdiplus::FontStyleRegular;
  if (font_def->bold) style |= Gdiplus::FontStyleBold;
  if (font_def->italic) style |= Gdiplus::FontStyleItalic;
  if (font_def->underline) style |= Gdiplus::FontStyleUnderline;
  Gdiplus::FontFamily family(font_def->face.c_str());
  const Gdiplus::FontFamily* use =
      family.GetLastStatus() == Gdiplus::Ok ? &family : Gdiplus::FontFamily::GenericSansSerif();
  return std::make_unique<Gdiplus::Font>(use, static_cast<Gdiplus::REAL>(font_def->size), style, Gdiplus::UnitPixel);
}

void DrawText(Gdiplus::Graphics& g, const std::wstring& text, const Gdiplus::Font& font, Gdiplus::RectF box,
              HorizontalAlign align, ui_toolkit::Argb colour) {
  g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  Gdiplus::StringFormat format;
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  format.SetAlignment(align == HorizontalAlign::kLeft    ? Gdiplus::StringAlignmentNear
                      : align == HorizontalAlign::kRight ? Gdiplus::StringAlignmentFar
                                                         : Gdiplus::StringAlignmentCenter);
  Gdiplus::SolidBrush brush{Gdiplus::Color(static_cast<Gdiplus::ARGB>(colour))};
  g.DrawString(text.c_str(), static_cast<INT>(text.size()), &font, box, &format, &brush);
}

}  // namespace

HorizontalAlign AlignmentFromText(std::wstring_view alignment) {
  if (basic_lib::EqualsNoCase(alignment, L"left")) return HorizontalAlign::kLeft;
  if (basic_lib::EqualsNoCase(alignment, L"right")) return HorizontalAlign::kRight;
  return HorizontalAlign::kCenter;
}

CLabelUI2::CLabelUI2() : CControlUI(ui_toolkit::ControlKind::kLabel, L"Label2") {}

bool CLabelUI2::PaintContent(const ui_toolkit::PaintContext& ctx) const {
  const int w = rect.width(), h = rect.height();
  if (text.empty() || w <= 0 || h <= 0) return true;
  const std::unique_ptr<Gdiplus::Font> font = MakeFont(ctx, this->font);
  const ui_toolkit::Argb colour = IsEnabledInTree() ? text_colour : disabled_text_colour;
  const int x = rect.left + ctx.origin.x, y = rect.top + ctx.origin.y;
  if (!ctx.layered) {
    Gdiplus::Graphics g(ctx.dc);
    DrawText(g, text, *font, Gdiplus::RectF(static_cast<Gdiplus::REAL>(x), static_cast<Gdiplus::REAL>(y),
                                            static_cast<Gdiplus::REAL>(w), static_cast<Gdiplus::REAL>(h)),
             align, colour);
    return true;
  }
  // GDI+ drawing through an HDC drops alpha; draw into premultiplied memory it owns the format of.
  const auto layer = ui_toolkit::CPicture::Create(w, h);
  if (!layer) return true;
  {
    Gdiplus::Bitmap bitmap(w, h, w * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(layer->pixels()));
    Gdiplus::Graphics g(&bitmap);
    DrawText(g, text, *font, Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(w), static_cast<Gdiplus::REAL>(h)), align,
             colour);
  }
  basic_lib::ScopedMemoryDc mem(CreateCompatibleDC(ctx.dc));
  basic_lib::ScopedSelectObject select(mem.get(), layer->bitmap());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(ctx.dc, x, y, w, h, mem.get(), 0, 0, w, h, blend);
  return true;
}

}  // namespace popup_dialog
