#include <gtest/gtest.h>

#include <string>

#include "ui_toolkit/attribute_values.h"
#include "ui_toolkit/layout_document.h"

using namespace ui_toolkit;

namespace {

LayoutDocument Parse(const std::string& xml) {
  LayoutDocument doc;
  EXPECT_TRUE(ParseLayout({reinterpret_cast<const std::uint8_t*>(xml.data()), xml.size()}, doc)) << xml;
  return doc;
}

}  // namespace

TEST(AttributeValues, ScalarForms) {
  EXPECT_EQ(ParseInt(L" 42 "), 42);
  EXPECT_EQ(ParseInt(L"-7"), -7);
  EXPECT_EQ(ParseInt(L"4x"), std::nullopt);
  EXPECT_EQ(ParseInt(L""), std::nullopt);
  EXPECT_EQ(ParseInt(L"9999999999"), std::nullopt);
  EXPECT_EQ(ParseRect(L"43,25,343,90"), (Rect{43, 25, 343, 90}));
  EXPECT_EQ(ParseRect(L"1,2,3"), std::nullopt);
  EXPECT_EQ(ParseRect(L"1,2,3,4,5"), std::nullopt);
  EXPECT_EQ(ParseSize(L"392,182"), (Size{392, 182}));
  EXPECT_EQ(ParseColour(L"0xFF888888"), 0xFF888888u);
  EXPECT_EQ(ParseColour(L"#272727"), 0xFF272727u);
  EXPECT_EQ(ParseColour(L"0x00000000"), 0u);
  EXPECT_EQ(ParseColour(L"0x1FF888888"), std::nullopt);
  EXPECT_EQ(ParseColour(L"888888"), std::nullopt);
  EXPECT_EQ(ParseBool(L"TRUE"), true);
  EXPECT_EQ(ParseBool(L"0"), false);
  EXPECT_EQ(ParseBool(L"yes"), std::nullopt);
}

TEST(AttributeValues, PictureDescriptions) {
  const auto full = ParseImageSpec(L"file='images/icon1.png' source='20,0,40,20' dest='12,8,32,28'");
  ASSERT_TRUE(full);
  EXPECT_EQ(full->file, L"images/icon1.png");
  EXPECT_EQ(full->source, (Rect{20, 0, 40, 20}));
  EXPECT_EQ(full->dest, (Rect{12, 8, 32, 28}));

  const auto bare = ParseImageSpec(L"images/bg_msg.png");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->file, L"images/bg_msg.png");
  EXPECT_FALSE(bare->source);

  EXPECT_EQ(ParseImageSpec(L""), ImageSpec{});  // an empty picture clears it
  EXPECT_EQ(ParseImageSpec(L"file='a.png' source='1,2,3'"), std::nullopt);
  EXPECT_EQ(ParseImageSpec(L"file='a.png"), std::nullopt);
  const auto extra = ParseImageSpec(L"file='a.png' fade='128' corner='2,2,2,2'");
  ASSERT_TRUE(extra);
  EXPECT_EQ(extra->corner, (Rect{2, 2, 2, 2}));
}

TEST(LayoutDocument, ParsesWindowFontsAndControlTree) {
  const LayoutDocument doc = Parse(R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="392,182" caption="0,0,0,182" shadow="Images/shadow.png" shadowsize="9" shadowcorner="10,10,10,10">
  <Font id="0" name="微软雅黑" size="13"/>
  <Font id="3" name="微软雅黑" size="16" bold="true"/>
  <VerticalLayout bkcolor="0xFFFFFFFF">
    <HorizontalLayout height="30">
      <Control width="358"/>
      <Button name="cls" width="30" height="30" normalimage="file='images/main_close_btn.png' source='0,0,30,30'"/>
    </HorizontalLayout>
    <Control name="content_area" height="100"/>
    <HorizontalLayout name="btn_area" height="36">
      <Option name="a" group="g" selected="true" text="甲"/>
      <CheckBox name="notip" checked="1"/>
      <CenterEdit name="num" enabled="false"/>
    </HorizontalLayout>
  </VerticalLayout>
</Window>)");
  EXPECT_EQ(doc.window.size, (Size{392, 182}));
  EXPECT_EQ(doc.window.caption, (Rect{0, 0, 0, 182}));
  EXPECT_EQ(doc.window.shadow_size, 9);
  EXPECT_EQ(doc.window.shadow_image.file, L"Images/shadow.png");
  ASSERT_EQ(doc.fonts.size(), 2u);
  ASSERT_NE(doc.FindFont(3), nullptr);
  EXPECT_EQ(doc.FindFont(3)->size, 16);
  EXPECT_TRUE(doc.FindFont(3)->bold);
  EXPECT_EQ(doc.FindFont(3)->face, L"微软雅黑");
  EXPECT_EQ(doc.FindFont(1), nullptr);
  EXPECT_TRUE(doc.bad_attributes.empty());

  CControlUI& root = *doc.root;
  struct Expect {
    const wchar_t* name;
    ControlKind kind;
  };
  for (const Expect& e : {Expect{L"cls", ControlKind::kButton}, Expect{L"content_area", ControlKind::kControl},
                          Expect{L"btn_area", ControlKind::kHorizontalLayout}, Expect{L"a", ControlKind::kOption},
                          Expect{L"notip", ControlKind::kCheckBox}, Expect{L"num", ControlKind::kEdit}}) {
    CControlUI* c = root.Find(e.name);
    ASSERT_NE(c, nullptr) << e.name;
    EXPECT_EQ(c->kind(), e.kind) << e.name;
  }
  EXPECT_EQ(root.Find(L"cls")->normal_image.source, (Rect{0, 0, 30, 30}));
  EXPECT_TRUE(root.Find(L"a")->selected);
  EXPECT_EQ(root.Find(L"a")->group, L"g");
  EXPECT_EQ(root.Find(L"a")->text, L"甲");
  EXPECT_TRUE(root.Find(L"notip")->selected);
  EXPECT_FALSE(root.Find(L"num")->enabled);
  EXPECT_EQ(root.Find(L"num")->class_name(), L"CenterEdit");
  EXPECT_EQ(root.Find(L"nothing"), nullptr);
}

TEST(LayoutDocument, RejectsMalformedOrForeignXmlAndRecordsBadValues) {
  LayoutDocument doc;
  const std::string broken = "<Window><Label></Window>", foreign = "<Dialog/>";
  EXPECT_FALSE(ParseLayout({reinterpret_cast<const std::uint8_t*>(broken.data()), broken.size()}, doc));
  EXPECT_FALSE(ParseLayout({reinterpret_cast<const std::uint8_t*>(foreign.data()), foreign.size()}, doc));
  EXPECT_FALSE(ParseLayout({}, doc));

  const LayoutDocument bad = Parse(R"(<Window size="a,b"><Label name="x" width="wide" textcolor="red"/></Window>)");
  EXPECT_EQ(bad.bad_attributes.size(), 3u);
  ASSERT_NE(bad.root, nullptr);
  EXPECT_EQ(bad.root->Find(L"x")->fixed_width, 0);

  const LayoutDocument empty = Parse("<Window size=\"10,10\"/>");
  ASSERT_NE(empty.root, nullptr);
  EXPECT_TRUE(empty.root->children().empty());
}

TEST(LayoutDocument, DeepNestingIsCut) {
  std::string xml = "<Window>";
  for (int i = 0; i < 5000; ++i) xml += "<VerticalLayout>";
  for (int i = 0; i < 5000; ++i) xml += "</VerticalLayout>";
  xml += "</Window>";
  const LayoutDocument doc = Parse(xml);
  int depth = 0;
  for (const CControlUI* c = doc.root.get(); !c->children().empty(); c = c->children().front().get()) ++depth;
  EXPECT_LE(depth, 64);
}

TEST(LayoutArrange, FlowsFloatsListsAndTabs) {
  LayoutDocument doc = Parse(R"(<Window size="392,182">
  <VerticalLayout>
    <HorizontalLayout height="30">
      <Control width="358"/>
      <Button name="cls" width="30" height="30"/>
    </HorizontalLayout>
    <Control name="content_area" height="100">
      <Label name="msg" float="true" pos="43,25,343,90"/>
    </Control>
    <HorizontalLayout name="btn_area" height="36" inset="10,0,10,0" childpadding="4">
      <Button name="flex1"/>
      <Button name="fixed" width="100" padding="2,3,2,3"/>
      <Button name="flex2"/>
      <Button name="hidden" width="50" visible="false"/>
    </HorizontalLayout>
    <List name="list" itemheight="32">
      <ListLabelElement name="row0"/>
      <ListLabelElement name="row1" height="20"/>
    </List>
    <TabLayout name="pages" height="0">
      <Control name="page0"/>
      <Control name="page1"/>
    </TabLayout>
  </VerticalLayout>
</Window>)");
  ArrangeLayout(*doc.root, 392, 182 + 100);
  CControlUI& r = *doc.root;
  const auto rect = [&](const wchar_t* name) { return r.Find(name)->rect; };
  EXPECT_EQ(rect(L"cls"), (Rect{358, 0, 388, 30}));
  EXPECT_EQ(rect(L"content_area"), (Rect{0, 30, 392, 130}));
  EXPECT_EQ(rect(L"msg"), (Rect{43, 55, 343, 120}));
  EXPECT_EQ(rect(L"btn_area"), (Rect{0, 130, 392, 166}));
  // 392 - 20 inset - 8 gaps - 104 fixed with padding = 260 shared by two.
  EXPECT_EQ(rect(L"flex1"), (Rect{10, 130, 140, 166}));
  EXPECT_EQ(rect(L"fixed"), (Rect{146, 133, 246, 163}));
  EXPECT_EQ(rect(L"flex2"), (Rect{252, 130, 382, 166}));
  EXPECT_TRUE(rect(L"hidden").empty());
  EXPECT_EQ(rect(L"row0"), (Rect{0, 166, 392, 198}));
  EXPECT_EQ(rect(L"row1"), (Rect{0, 198, 392, 218}));
  // The list and the tab layout share what is left: 282 - 166 = 116.
  EXPECT_EQ(rect(L"list"), (Rect{0, 166, 392, 224}));
  EXPECT_EQ(rect(L"page0"), rect(L"pages"));
  EXPECT_EQ(rect(L"page1"), rect(L"pages"));

  EXPECT_EQ(r.HitTest(370, 10), r.Find(L"cls"));
  EXPECT_EQ(r.HitTest(100, 60), r.Find(L"msg"));
  EXPECT_EQ(r.HitTest(20, 40), r.Find(L"content_area"));
  EXPECT_EQ(r.HitTest(500, 10), nullptr);
}
