// The cross-built libraries link into a Windows program and work there.
#include <windows.h>

#include <cjson/cJSON.h>
#include <gtest/gtest.h>
#include <lcms2.h>
#include <pugixml.hpp>
#include <zlib.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

TEST(Libraries, Lcms2SrgbToSrgbIsIdentity) {
  cmsHPROFILE in = cmsCreate_sRGBProfile();
  cmsHPROFILE out = cmsCreate_sRGBProfile();
  cmsHTRANSFORM t = cmsCreateTransform(in, TYPE_BGRA_8, out, TYPE_BGRA_8, INTENT_PERCEPTUAL, 0);
  ASSERT_NE(t, nullptr);
  const std::array<std::uint8_t, 12> src{30, 50, 200, 255, 0, 0, 0, 255, 255, 255, 255, 255};
  std::array<std::uint8_t, 12> dst{};
  cmsDoTransform(t, src.data(), dst.data(), 3);
  for (size_t i = 0; i < src.size(); i += 4)
    for (size_t c = 0; c < 3; ++c) EXPECT_NEAR(dst[i + c], src[i + c], 1) << "pixel " << i / 4;
  cmsDeleteTransform(t);
  cmsCloseProfile(in);
  cmsCloseProfile(out);
}

TEST(Libraries, PugixmlParsesUtf8IntoWideStrings) {
  const char xml[] = "<Window size=\"392,182\"><Label name=\"title\" text=\"\xE6\x8F\x90\xE7\xA4\xBA\"/></Window>";
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_buffer(xml, sizeof(xml) - 1, pugi::parse_default, pugi::encoding_utf8));
  const pugi::xml_node label = doc.child(L"Window").child(L"Label");
  EXPECT_STREQ(label.attribute(L"name").value(), L"title");
  EXPECT_STREQ(label.attribute(L"text").value(), L"提示");
  pugi::xml_document broken;
  EXPECT_FALSE(broken.load_string(L"<Window><Label></Window>"));
}

TEST(Libraries, CjsonParsesAndRejects) {
  cJSON* root = cJSON_Parse("{\"code\":0,\"msg\":\"ok \\u4e2d\"}");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(cJSON_GetObjectItem(root, "code")->valueint, 0);
  EXPECT_STREQ(cJSON_GetObjectItem(root, "msg")->valuestring, "ok \xE4\xB8\xAD");
  cJSON_Delete(root);
  EXPECT_EQ(cJSON_Parse("{\"code\":"), nullptr);
}

TEST(Libraries, ZlibRoundTrip) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "layout " + std::to_string(i) + "\n";
  uLongf packed_size = compressBound(static_cast<uLong>(text.size()));
  std::vector<Bytef> packed(packed_size);
  ASSERT_EQ(compress(packed.data(), &packed_size, reinterpret_cast<const Bytef*>(text.data()),
                     static_cast<uLong>(text.size())),
            Z_OK);
  EXPECT_LT(packed_size, text.size());
  std::vector<char> back(text.size());
  uLongf back_size = static_cast<uLongf>(back.size());
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(back.data()), &back_size, packed.data(), packed_size), Z_OK);
  EXPECT_EQ(std::string(back.data(), back_size), text);
}
