#pragma once
// CLabelUI2: a label whose text is drawn with GDI+ at high quality (anti-aliased, bicubic), centred
// vertically and aligned by name. On a layered window the text goes through a transparent bitmap, so the
// window's alpha channel stays right under the glyphs.
#include <string>
#include <string_view>

#include "ui_toolkit/control.h"

namespace popup_dialog {

// "left" and "right" (any case) align to that side; anything else centres.
[[nodiscard]] ui_toolkit::HorizontalAlign AlignmentFromText(std::wstring_view alignment);

class CLabelUI2 : public ui_toolkit::CControlUI {
 public:
  CLabelUI2();
  [[nodiscard]] bool PaintContent(const ui_toolkit::PaintContext& ctx) const override;
};

}  // namespace popup_dialog
