#include "ui_toolkit/painter.h"

#include "basic_lib/gdiplus.h"
#include "basic_lib/scoped_handle.h"
#include "ui_toolkit/nine_grid.h"

namespace ui_toolkit {
namespace {

Gdiplus::Color ToColor(Argb c) { return Gdiplus::Color(static_cast<Gdiplus::ARGB>(c)); }

Gdiplus::Rect ToDevice(const PaintContext& ctx, const Rect& r) {
  return Gdiplus::Rect(r.left + ctx.origin.x, r.top + ctx.origin.y, r.width(), r.height());
}

void Fill(const PaintContext& ctx, const Rect& r, Argb colour) {
  if ((colour >> 24) == 0 || r.empty()) return;
  Gdiplus::Graphics g(ctx.dc);
  Gdiplus::SolidBrush brush(ToColor(colour));
  g.FillRectangle(&brush, ToDevice(ctx, r));
}

// The picture that shows the control's present state, falling back to its normal picture.
const ImageSpec& StateImage(const CControlUI& c) {
  const auto pick = [](const ImageSpec& wanted, const ImageSpec& fallback) -> const ImageSpec& {
    return wanted.file.empty() ? fallback : wanted;
  };
  if (!c.IsEnabledInTree()) return pick(c.disabled_image, c.normal_image);
  if (c.IsSelectable() && c.selected) {
    if (c.runtime_state & kStateHot) return pick(c.selected_hot_image, pick(c.selected_image, c.normal_image));
    return pick(c.selected_image, c.normal_image);
  }
  if (c.runtime_state & kStatePushed) return pick(c.pushed_image, pick(c.hot_image, c.normal_image));
  if (c.runtime_state & kStateHot) return pick(c.hot_image, c.normal_image);
  return c.normal_image;
}

Argb StateTextColour(const CControlUI& c) {
  if (!c.IsEnabledInTree()) return c.disabled_text_colour;
  if (c.IsSelectable() && c.selected && c.selected_text_colour) return c.selected_text_colour;
  if ((c.runtime_state & kStatePushed) && c.pushed_text_colour) return c.pushed_text_colour;
  if ((c.runtime_state & kStateHot) && c.hot_text_colour) return c.hot_text_colour;
  return c.text_colour;
}

std::wstring FaceText(const CControlUI& c) {
  if (c.kind() == ControlKind::kCombo) {
    const auto& items = c.children();
    if (c.selected_index >= 0 && c.selected_index < static_cast<int>(items.size())) return items[c.selected_index]->text;
  }
  return c.text;
}

bool Intersects(const Rect& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

void PaintImage(const PaintContext& ctx, const ImageSpec& image, const Rect& bounds) {
  if (image.file.empty()) return;
  const CPicture* picture = CToolkit::Get().Picture(image.file, ctx.source);
  if (!picture) return;
  Rect src = image.source.value_or(Rect{0, 0, picture->width(), picture->height()});
  src.right = std::min(src.right, picture->width());
  src.bottom = std::min(src.bottom, picture->height());
  if (src.empty() || src.left < 0 || src.top < 0) return;
  Rect dst = bounds;
  if (image.dest) dst = {bounds.left + image.dest->left, bounds.top + image.dest->top,
                         bounds.left + image.dest->right, bounds.top + image.dest->bottom};
  if (dst.empty()) return;
  basic_lib::ScopedMemoryDc mem(CreateCompatibleDC(ctx.dc));
  basic_lib::ScopedSelectObject select(mem.get(), picture->bitmap());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  const auto part = [&](const Rect& d, const Rect& s) {
    if (d.empty() || s.empty()) return;
    AlphaBlend(ctx.dc, d.left + ctx.origin.x, d.top + ctx.origin.y, d.width(), d.height(), mem.get(), s.left, s.top,
               s.width(), s.height(), blend);
  };
  if (!image.corner) {
    part(dst, src);
    return;
  }
  for (const NineGridPart& p : NineGrid(src, dst, *image.corner)) part(p.dest, p.source);
}

void PaintText(const PaintContext& ctx, const CControlUI& c, const std::wstring& text, Argb colour) {
  if (text.empty() || (colour >> 24) == 0) return;
  const FontSpec fallback;
  const FontSpec* font_def = ctx.layout ? ctx.layout->FindFont(c.font) : nullptr;
  if (!font_def) font_def = ctx.layout && !ctx.layout->fonts.empty() ? &ctx.layout->fonts.front() : &fallback;

  Gdiplus::Graphics g(ctx.dc);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  int style = Gdiplus::FontStyleRegular;
  if (font_def->bold) style |= Gdiplus::FontStyleBold;
  if (font_def->italic) style |= Gdiplus::FontStyleItalic;
  if (font_def->underline) style |= Gdiplus::FontStyleUnderline;
  Gdiplus::FontFamily family(font_def->face.c_str());
  // A face the system lacks falls back to the generic sans serif one rather than drawing nothing.
  const Gdiplus::FontFamily* use = family.GetLastStatus() == Gdiplus::Ok ? &family : Gdiplus::FontFamily::GenericSansSerif();
  Gdiplus::Font font(use, static_cast<Gdiplus::REAL>(font_def->size), style, Gdiplus::UnitPixel);

  Gdiplus::StringFormat format;
  format.SetAlignment(c.align == HorizontalAlign::kLeft    ? Gdiplus::StringAlignmentNear
                      : c.align == HorizontalAlign::kRight ? Gdiplus::StringAlignmentFar
                                                           : Gdiplus::StringAlignmentCenter);
  format.SetLineAlignment(c.valign == VerticalAlign::kTop      ? Gdiplus::StringAlignmentNear
                          : c.valign == VerticalAlign::kBottom ? Gdiplus::StringAlignmentFar
                                                               : Gdiplus::StringAlignmentCenter);
  if (!c.word_wrap) format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
  format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
  const Rect r{c.rect.left + c.text_padding.left, c.rect.top + c.text_padding.top, c.rect.right - c.text_padding.right,
               c.rect.bottom - c.text_padding.bottom};
  const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(r.left + ctx.origin.x),
                              static_cast<Gdiplus::REAL>(r.top + ctx.origin.y), static_cast<Gdiplus::REAL>(r.width()),
                              static_cast<Gdiplus::REAL>(r.height()));
  Gdiplus::SolidBrush brush(ToColor(colour));
  g.DrawString(text.c_str(), static_cast<INT>(text.size()), &font, layout, &format, &brush);
}

void PaintWindowBackground(const PaintContext& ctx, int width, int height) {
  const Rect all{0, 0, width, height};
  Fill(ctx, all, ctx.layout->window.back_colour);
  PaintImage(ctx, ctx.layout->window.back_image, all);
}

void PaintControl(const PaintContext& ctx, const CControlUI& c) {
  if (!c.visible || c.rect.empty() || !Intersects(c.rect, ctx.clip)) return;
  Argb back = c.back_colour;
  if (c.kind() == ControlKind::kListElement) {
    if (c.selected && c.selected_back_colour) back = c.selected_back_colour;
    else if ((c.runtime_state & kStateHot) && c.hot_back_colour) back = c.hot_back_colour;
  }
  Fill(ctx, c.rect, back);
  PaintImage(ctx, c.back_image, c.rect);
  PaintImage(ctx, StateImage(c), c.rect);
  if (c.border_size > 0 && (c.border_colour >> 24)) {
    Gdiplus::Graphics g(ctx.dc);
    Gdiplus::Pen pen(ToColor(c.border_colour), static_cast<Gdiplus::REAL>(c.border_size));
    pen.SetAlignment(Gdiplus::PenAlignmentInset);
    g.DrawRectangle(&pen, ToDevice(ctx, Rect{c.rect.left, c.rect.top, c.rect.right - 1, c.rect.bottom - 1}));
  }
  if (!c.PaintContent(ctx)) {
    if (c.kind() != ControlKind::kEdit) PaintText(ctx, c, FaceText(c), StateTextColour(c));
    PaintImage(ctx, c.foreground_image, c.rect);
  }

  if (c.kind() == ControlKind::kCombo) return;  // its elements are the drop-down's rows
  for (int pass = 0; pass < 2; ++pass)  // the flow first, floating controls over it
    for (const auto& child : c.children()) {
      if (child->is_float != (pass == 1)) continue;
      if (c.kind() == ControlKind::kTabLayout && c.selected_index >= 0 &&
          child.get() != c.children()[std::min<size_t>(c.selected_index, c.children().size() - 1)].get())
        continue;
      PaintControl(ctx, *child);
    }
}

}  // namespace ui_toolkit
