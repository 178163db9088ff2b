#pragma once
// One node of a layout: a control or a container. The tree is owned top-down (each child by exactly one
// parent); the window that shows it keeps the root. Pure data plus the small rules of its states; drawing,
// input and native edit windows live in the window classes.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui_toolkit/attribute_values.h"

namespace ui_toolkit {

struct PaintContext;

enum class ControlKind {
  kControl,           // a plain area or spacer
  kLabel,
  kButton,
  kOption,            // radio button; options with the same "group" exclude each other
  kCheckBox,
  kEdit,              // a native edit window; "CenterEdit" too
  kList,
  kListElement,       // an item of a list or of a combo's drop-down
  kCombo,
  kHorizontalLayout,
  kVerticalLayout,
  kTabLayout,
};

enum class HorizontalAlign { kLeft, kCenter, kRight };
enum class VerticalAlign { kTop, kCenter, kBottom };

// Hover and press are runtime states the window sets; they select the picture and colour drawn.
inline constexpr std::uint32_t kStateHot = 0x01;
inline constexpr std::uint32_t kStatePushed = 0x02;
inline constexpr std::uint32_t kStateFocused = 0x04;

class CControlUI {
 public:
  CControlUI(ControlKind kind, std::wstring class_name);
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;
  virtual ~CControlUI();

  // A custom control draws its own content (text, foreground) over the common background, state picture and
  // border; false leaves it to the common drawing.
  [[nodiscard]] virtual bool PaintContent(const PaintContext& ctx) const;

  [[nodiscard]] ControlKind kind() const { return kind_; }
  // The layout's element name ("Label", "Button", "CenterEdit", ...).
  [[nodiscard]] const std::wstring& class_name() const { return class_name_; }
  [[nodiscard]] bool IsSelectable() const;  // options, check boxes and list elements

  // Tree.
  [[nodiscard]] CControlUI* parent() const { return parent_; }
  [[nodiscard]] const std::vector<std::unique_ptr<CControlUI>>& children() const { return children_; }
  CControlUI* Add(std::unique_ptr<CControlUI> child);
  // Depth-first search by "name", this control included.
  [[nodiscard]] CControlUI* Find(std::wstring_view name);
  // The control under a point (client coordinates): the deepest visible one, floating children first.
  [[nodiscard]] CControlUI* HitTest(int x, int y);
  // Visible in itself and in every ancestor.
  [[nodiscard]] bool IsShown() const;
  [[nodiscard]] bool IsEnabledInTree() const;

  // Attributes as read from the layout; a known one also sets its typed member. False for a bad value.
  bool SetAttribute(std::wstring_view name, std::wstring_view value);
  [[nodiscard]] std::wstring Attribute(std::wstring_view name) const;

  std::wstring name;
  std::wstring text;
  std::wstring tooltip;
  std::wstring group;             // options
  bool visible = true;
  bool enabled = true;
  bool selected = false;          // options, check boxes, list elements: selected or checked
  bool is_float = false;
  std::intptr_t tag = 0;          // the integer user value code attaches to a control

  // Geometry inputs. A width or height of 0 takes the space the container leaves.
  int fixed_width = 0, fixed_height = 0;
  Rect padding;                   // outer margin inside the parent's flow
  Rect inset;                     // inner margin of a container
  int child_padding = 0;          // gap between the children of a container
  Rect float_pos;                 // "pos": relative to the parent's top left when floating
  int item_height = 0;            // lists: height of an element without one of its own
  int selected_index = -1;        // tab layouts: the page shown; lists and combos: the element chosen

  // Look.
  int font = -1;                  // index into the window's fonts; -1 the default font
  Argb text_colour = 0xFF000000, disabled_text_colour = 0xFFA0A0A0, hot_text_colour = 0, pushed_text_colour = 0;
  Argb selected_text_colour = 0;
  Argb back_colour = 0, hot_back_colour = 0, selected_back_colour = 0, border_colour = 0;
  int border_size = 0;
  HorizontalAlign align = HorizontalAlign::kLeft;
  VerticalAlign valign = VerticalAlign::kCenter;
  bool word_wrap = false;
  Rect text_padding;
  ImageSpec back_image, normal_image, hot_image, pushed_image, disabled_image, selected_image,
      selected_hot_image, foreground_image;
  std::uint32_t runtime_state = 0;

  // Computed by Arrange, in window client coordinates.
  Rect rect;

  // The native window of an edit, owned by the toolkit window (HWND kept opaque here).
  void* native_window = nullptr;

 private:
  ControlKind kind_;
  std::wstring class_name_;
  CControlUI* parent_ = nullptr;
  std::vector<std::unique_ptr<CControlUI>> children_;
  std::map<std::wstring, std::wstring, std::less<>> attributes_;
};

// The kind for a layout element name; unknown names are plain controls.
ControlKind KindForClassName(std::wstring_view class_name);

}  // namespace ui_toolkit
