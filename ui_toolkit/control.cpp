#include "ui_toolkit/control.h"

#include <array>
#include <utility>

#include "basic_lib/text_case.h"

namespace ui_toolkit {
namespace {

template <typename T>
bool Assign(T& member, const std::optional<T>& value) {
  if (!value) return false;
  member = *value;
  return true;
}

}  // namespace

ControlKind KindForClassName(std::wstring_view class_name) {
  static const std::array<std::pair<const wchar_t*, ControlKind>, 14> kKinds{{
      {L"label", ControlKind::kLabel},
      {L"text", ControlKind::kLabel},
      {L"button", ControlKind::kButton},
      {L"option", ControlKind::kOption},
      {L"checkbox", ControlKind::kCheckBox},
      {L"edit", ControlKind::kEdit},
      {L"centeredit", ControlKind::kEdit},
      {L"list", ControlKind::kList},
      {L"listlabelelement", ControlKind::kListElement},
      {L"listcontainerelement", ControlKind::kListElement},
      {L"combo", ControlKind::kCombo},
      {L"horizontallayout", ControlKind::kHorizontalLayout},
      {L"verticallayout", ControlKind::kVerticalLayout},
      {L"tablayout", ControlKind::kTabLayout},
  }};
  const std::wstring key = basic_lib::ToLower(class_name);
  for (const auto& [name, kind] : kKinds)
    if (key == name) return kind;
  return ControlKind::kControl;
}

CControlUI::CControlUI(ControlKind kind, std::wstring class_name)
    : kind_(kind), class_name_(std::move(class_name)) {
  if (kind_ == ControlKind::kList || kind_ == ControlKind::kCombo) item_height = 32;
  if (kind_ == ControlKind::kTabLayout) selected_index = 0;
  if (kind_ == ControlKind::kButton) align = HorizontalAlign::kCenter;
}

CControlUI::~CControlUI() = default;

bool CControlUI::PaintContent(const PaintContext&) const { return false; }

bool CControlUI::IsSelectable() const {
  return kind_ == ControlKind::kOption || kind_ == ControlKind::kCheckBox || kind_ == ControlKind::kListElement;
}

CControlUI* CControlUI::Add(std::unique_ptr<CControlUI> child) {
  child->parent_ = this;
  children_.push_back(std::move(child));
  return children_.back().get();
}

CControlUI* CControlUI::Find(std::wstring_view wanted) {
  if (!wanted.empty() && name == wanted) return this;
  for (const auto& c : children_)
    if (CControlUI* found = c->Find(wanted)) return found;
  return nullptr;
}

CControlUI* CControlUI::HitTest(int x, int y) {
  if (!visible || !rect.contains(x, y)) return nullptr;
  // Floating children are drawn over the flow, so they are hit first; later siblings lie over earlier ones.
  for (int pass = 0; pass < 2; ++pass) {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
      if ((*it)->is_float != (pass == 0)) continue;
      if (kind_ == ControlKind::kTabLayout && !(*it)->visible) continue;
      if (CControlUI* hit = (*it)->HitTest(x, y)) return hit;
    }
  }
  return this;
}

bool CControlUI::IsShown() const {
  for (const CControlUI* c = this; c; c = c->parent_)
    if (!c->visible) return false;
  return true;
}

bool CControlUI::IsEnabledInTree() const {
  for (const CControlUI* c = this; c; c = c->parent_)
    if (!c->enabled) return false;
  return true;
}

std::wstring CControlUI::Attribute(std::wstring_view key) const {
  auto it = attributes_.find(basic_lib::ToLower(key));
  return it == attributes_.end() ? std::wstring() : it->second;
}

bool CControlUI::SetAttribute(std::wstring_view key_text, std::wstring_view value) {
  const std::wstring key = basic_lib::ToLower(key_text);
  attributes_[key] = std::wstring(value);
  const auto image = [&](ImageSpec& member) { return Assign(member, ParseImageSpec(value)); };
  const auto colour = [&](Argb& member) { return Assign(member, ParseColour(value)); };
  const auto boolean = [&](bool& member) { return Assign(member, ParseBool(value)); };
  const auto integer = [&](int& member) { return Assign(member, ParseInt(value)); };
  const auto rectangle = [&](Rect& member) { return Assign(member, ParseRect(value)); };

  if (key == L"name") return name = value, true;
  if (key == L"text") return text = value, true;
  if (key == L"tooltip") return tooltip = value, true;
  if (key == L"group") return group = value, true;
  if (key == L"visible") return boolean(visible);
  if (key == L"enabled") return boolean(enabled);
  if (key == L"selected" || key == L"checked") return boolean(selected);
  if (key == L"float") return boolean(is_float);
  if (key == L"width") return integer(fixed_width);
  if (key == L"height") return integer(fixed_height);
  if (key == L"padding") return rectangle(padding);
  if (key == L"inset") return rectangle(inset);
  if (key == L"childpadding") return integer(child_padding);
  if (key == L"textpadding") return rectangle(text_padding);
  if (key == L"itemheight") return integer(item_height);
  if (key == L"selectedid") return integer(selected_index);
  if (key == L"font") return integer(font);
  if (key == L"bordersize") return integer(border_size);
  if (key == L"wordwrap") return boolean(word_wrap);
  if (key == L"pos") {
    const auto r = ParseRect(value);
    if (!r) return false;
    float_pos = *r;
    if (fixed_width == 0) fixed_width = r->width();
    if (fixed_height == 0) fixed_height = r->height();
    return true;
  }
  if (key == L"textcolor") return colour(text_colour);
  if (key == L"disabledtextcolor") return colour(disabled_text_colour);
  if (key == L"hottextcolor") return colour(hot_text_colour);
  if (key == L"pushedtextcolor") return colour(pushed_text_colour);
  if (key == L"selectedtextcolor") return colour(selected_text_colour);
  if (key == L"bkcolor") return colour(back_colour);
  if (key == L"hotbkcolor" || key == L"itemhotbkcolor") return colour(hot_back_colour);
  if (key == L"selectedbkcolor" || key == L"itemselectedbkcolor") return colour(selected_back_colour);
  if (key == L"bordercolor") return colour(border_colour);
  if (key == L"bkimage") return image(back_image);
  if (key == L"normalimage") return image(normal_image);
  if (key == L"hotimage") return image(hot_image);
  if (key == L"pushedimage") return image(pushed_image);
  if (key == L"disabledimage") return image(disabled_image);
  if (key == L"selectedimage") return image(selected_image);
  if (key == L"selectedhotimage") return image(selected_hot_image);
  if (key == L"foreimage") return image(foreground_image);
  if (key == L"align") {
    align = value == L"left" ? HorizontalAlign::kLeft : value == L"right" ? HorizontalAlign::kRight
                                                                          : HorizontalAlign::kCenter;
    return true;
  }
  if (key == L"valign") {
    valign = value == L"top" ? VerticalAlign::kTop : value == L"bottom" ? VerticalAlign::kBottom : VerticalAlign::kCenter;
    return true;
  }
  return true;  // kept for Attribute(); the toolkit has no typed member for it
}

}  // namespace ui_toolkit
