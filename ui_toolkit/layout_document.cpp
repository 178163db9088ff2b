#include "ui_toolkit/layout_document.h"

#include <pugixml.hpp>

#include <string_view>

#include "basic_lib/text_case.h"

namespace ui_toolkit {
namespace {

bool NameIs(const pugi::xml_node& node, std::wstring_view name) { return basic_lib::EqualsNoCase(node.name(), name); }

void ReadWindow(const pugi::xml_node& node, LayoutDocument& doc) {
  WindowSpec& w = doc.window;
  for (const pugi::xml_attribute& a : node.attributes()) {
    const std::wstring_view key = a.name(), value = a.value();
    bool ok = true;
    const auto take = [&](auto& member, auto parsed) {
      if (parsed) member = *parsed;
      else ok = false;
    };
    if (key == L"size") take(w.size, ParseSize(value));
    else if (key == L"mininfo") take(w.min_size, ParseSize(value));
    else if (key == L"maxinfo") take(w.max_size, ParseSize(value));
    else if (key == L"caption") take(w.caption, ParseRect(value));
    else if (key == L"sizebox") take(w.size_box, ParseRect(value));
    else if (key == L"bkcolor") take(w.back_colour, ParseColour(value));
    else if (key == L"bkimage") take(w.back_image, ParseImageSpec(value));
    else if (key == L"shadow") take(w.shadow_image, ParseImageSpec(value));
    else if (key == L"shadowsize") take(w.shadow_size, ParseInt(value));
    else if (key == L"shadowcorner") take(w.shadow_corner, ParseRect(value));
    else if (key == L"defaultfont") w.default_font_face = value;
    if (!ok) doc.bad_attributes.push_back(L"Window." + std::wstring(key) + L"=" + std::wstring(value));
  }
}

void ReadFont(const pugi::xml_node& node, LayoutDocument& doc) {
  FontSpec f;
  f.id = node.attribute(L"id").as_int(static_cast<int>(doc.fonts.size()));
  if (const auto* face = node.attribute(L"name").value(); *face) f.face = face;
  f.size = node.attribute(L"size").as_int(12);
  f.bold = node.attribute(L"bold").as_bool(false);
  f.underline = node.attribute(L"underline").as_bool(false);
  f.italic = node.attribute(L"italic").as_bool(false);
  doc.fonts.push_back(f);
}

std::unique_ptr<CControlUI> ReadControl(const pugi::xml_node& node, LayoutDocument& doc, int depth) {
  auto control = std::make_unique<CControlUI>(KindForClassName(node.name()), node.name());
  for (const pugi::xml_attribute& a : node.attributes())
    if (!control->SetAttribute(a.name(), a.value()))
      doc.bad_attributes.push_back(std::wstring(node.name()) + L"." + a.name() + L"=" + a.value());
  // A hostile layout cannot recurse without end; no real layout nests this deep.
  if (depth < 64)
    for (const pugi::xml_node& child : node.children())
      if (child.type() == pugi::node_element) control->Add(ReadControl(child, doc, depth + 1));
  return control;
}

}  // namespace

const FontSpec* LayoutDocument::FindFont(int id) const {
  for (const FontSpec& f : fonts)
    if (f.id == id) return &f;
  return nullptr;
}

bool ParseLayout(std::span<const std::uint8_t> xml, LayoutDocument& out) {
  out = LayoutDocument{};
  pugi::xml_document doc;
  if (!doc.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_auto)) return false;
  const pugi::xml_node window = doc.document_element();
  if (!NameIs(window, L"Window")) return false;
  ReadWindow(window, out);
  for (const pugi::xml_node& child : window.children()) {
    if (child.type() != pugi::node_element) continue;
    if (NameIs(child, L"Font")) {
      ReadFont(child, out);
    } else if (!out.root) {
      out.root = ReadControl(child, out, 0);
    }
  }
  if (!out.root) out.root = std::make_unique<CControlUI>(ControlKind::kVerticalLayout, L"VerticalLayout");
  return true;
}

}  // namespace ui_toolkit
