#pragma once
// A parsed layout file: the window's own attributes, its fonts and the control tree.
//
//   <Window size="392,182" caption="0,0,0,182" bkimage="images/bg_msg.png" shadow="Images/shadow.png"
//           shadowsize="9" shadowcorner="10,10,10,10">
//     <Font id="0" name="微软雅黑" size="13" bold="false"/>
//     <VerticalLayout> ... controls ... </VerticalLayout>
//   </Window>
//
// Element names are control classes (Label, Button, Option, CheckBox, Edit, CenterEdit, List,
// ListLabelElement, Combo, HorizontalLayout, VerticalLayout, TabLayout, Control); attributes are the
// control's (see CControlUI::SetAttribute).
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ui_toolkit/attribute_values.h"
#include "ui_toolkit/control.h"

namespace ui_toolkit {

struct FontSpec {
  int id = 0;
  std::wstring face = L"微软雅黑";
  int size = 12;  // pixels
  bool bold = false;
  bool underline = false;
  bool italic = false;
};

struct WindowSpec {
  Size size;
  Size min_size;
  Size max_size;
  Rect caption;         // top (and, when right is 0, the whole width) that drags the window
  Rect size_box;        // edges that resize it; all 0 = fixed size
  Argb back_colour = 0;
  ImageSpec back_image;
  ImageSpec shadow_image;
  int shadow_size = 0;  // the shadow lies outside "size" on every side
  Rect shadow_corner;
  std::wstring default_font_face = L"微软雅黑";
};

struct LayoutDocument {
  WindowSpec window;
  std::vector<FontSpec> fonts;
  std::unique_ptr<CControlUI> root;
  // Attributes whose values did not parse: "Class.attribute=value", for diagnostics and tests.
  std::vector<std::wstring> bad_attributes;

  [[nodiscard]] const FontSpec* FindFont(int id) const;
};

// Parses UTF-8 (or BOM-marked UTF-16) XML. False for malformed XML or a root that is not <Window>;
// a window without controls gets an empty vertical layout as its root.
[[nodiscard]] bool ParseLayout(std::span<const std::uint8_t> xml, LayoutDocument& out);

// Places every control of the tree inside the client rectangle (0, 0, width, height).
void ArrangeLayout(CControlUI& root, int width, int height);
// Places one control's children inside its own rect, recursively.
void ArrangeChildren(CControlUI& control);

}  // namespace ui_toolkit
