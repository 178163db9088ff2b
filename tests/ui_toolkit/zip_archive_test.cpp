#include "ui_toolkit/zip_archive.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/support/zip_builder.h"

using test_support::PutU16;
using test_support::PutU32;
using test_support::ZipBuilder;
using ui_toolkit::CZipArchive;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::string Layout(int i) {
  std::string s = "<Window size=\"392,182\">";
  for (int k = 0; k < 40; ++k) s += "<Label name=\"l" + std::to_string(i) + "_" + std::to_string(k) + "\"/>";
  return s + "</Window>";
}

// Pseudo-random but fixed picture bytes: deflate keeps them about as large as they are.
std::vector<std::uint8_t> Noise(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint8_t> v(n);
  for (auto& b : v) b = static_cast<std::uint8_t>(rng());
  return v;
}

ZipBuilder SmallPackage() {
  ZipBuilder zip;
  zip.Add("msgbox.xml", Layout(0), ZipBuilder::Method::kDeflate)
      .Add("images/bg_msg.png", Noise(3000, 1), ZipBuilder::Method::kStored)
      .Add("empty.txt", std::string(), ZipBuilder::Method::kDeflate);
  return zip;
}

}  // namespace

TEST(ZipArchive, ReadsStoredDeflatedEmptyAndWideNamedEntries) {
  ZipBuilder zip = SmallPackage();
  zip.Add("图片/标题 é.png", Noise(500, 2), ZipBuilder::Method::kDeflate);
  CZipArchive archive;
  ASSERT_TRUE(archive.Open(zip.Build()));

  std::vector<std::uint8_t> out;
  ASSERT_TRUE(archive.Read(L"msgbox.xml", out));
  EXPECT_EQ(out, Bytes(Layout(0)));
  ASSERT_TRUE(archive.Read(L"images/bg_msg.png", out));
  EXPECT_EQ(out, Noise(3000, 1));
  ASSERT_TRUE(archive.Read(L"empty.txt", out));
  EXPECT_TRUE(out.empty());
  ASSERT_TRUE(archive.Read(L"图片/标题 é.png", out));
  EXPECT_EQ(out, Noise(500, 2));

  EXPECT_EQ(archive.Names().size(), 4u);
  EXPECT_FALSE(archive.Read(L"msgbox1.xml", out));
  EXPECT_TRUE(out.empty());
}

TEST(ZipArchive, NamesMatchWithoutCaseAndWithEitherSlash) {
  CZipArchive archive;
  ASSERT_TRUE(archive.Open(SmallPackage().Build()));
  for (const wchar_t* name : {L"Images/BG_msg.png", L"images\\bg_msg.png", L"MSGBOX.XML"})
    EXPECT_TRUE(archive.Contains(name)) << name;
  EXPECT_FALSE(archive.Contains(L"images"));
  EXPECT_FALSE(archive.Contains(L""));
}

TEST(ZipArchive, ManyEntries) {
  ZipBuilder zip;
  for (int i = 0; i < 600; ++i) zip.Add("layouts/l" + std::to_string(i) + ".xml", Layout(i));
  CZipArchive archive;
  ASSERT_TRUE(archive.Open(zip.Build()));
  EXPECT_EQ(archive.Names().size(), 600u);
  std::vector<std::uint8_t> out;
  for (int i : {0, 299, 599}) {
    ASSERT_TRUE(archive.Read(L"layouts/l" + std::to_wstring(i) + L".xml", out));
    EXPECT_EQ(out, Bytes(Layout(i)));
  }
}

TEST(ZipArchive, OpensFromFileAndRefusesMissingOrNonZipFiles) {
  test_support::TempDir dir;
  const std::vector<std::uint8_t> bytes = SmallPackage().Build();
  const std::wstring good = dir.File(L"res.zip"), bad = dir.File(L"not a zip.zip");
  FILE* f = _wfopen(good.c_str(), L"wb");
  ASSERT_NE(f, nullptr);
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  f = _wfopen(bad.c_str(), L"wb");
  ASSERT_NE(f, nullptr);
  fputs("PK\x05\x06 but nothing else", f);
  fclose(f);

  CZipArchive archive;
  EXPECT_TRUE(archive.OpenFile(good));
  EXPECT_TRUE(archive.Contains(L"msgbox.xml"));
  EXPECT_FALSE(archive.OpenFile(bad));
  EXPECT_FALSE(archive.IsOpen());
  EXPECT_FALSE(archive.Contains(L"msgbox.xml"));
  EXPECT_FALSE(archive.OpenFile(dir.File(L"absent.zip")));
}

// Each case damages one field of a valid archive; the damaged entry must not read, nothing may crash.
TEST(ZipArchive, LyingFieldsAreErrors) {
  struct Case {
    const char* what;
    void (*damage)(std::vector<std::uint8_t>&, const ZipBuilder::Offsets&);
    bool opens;  // whether the directory itself still parses
  };
  const Case cases[] = {
      {"directory offset past the end", [](auto& b, auto& o) { PutU32(b, o.end_record + 16, 0xFFFFFF00u); }, false},
      {"directory size past the end", [](auto& b, auto& o) { PutU32(b, o.end_record + 12, 0x7FFFFFFFu); }, false},
      {"more entries than the directory holds", [](auto& b, auto& o) {
         PutU16(b, o.end_record + 8, 9);
         PutU16(b, o.end_record + 10, 9);
       }, false},
      {"comment length past the end", [](auto& b, auto& o) { PutU16(b, o.end_record + 20, 500); }, false},
      {"local offset inside the directory", [](auto& b, auto& o) { PutU32(b, o.central_headers[0] + 42, 0xFFFFFFFFu); },
       false},
      {"name length past the directory", [](auto& b, auto& o) { PutU16(b, o.central_headers[2] + 28, 0xFFFF); }, false},
      {"packed size past the directory", [](auto& b, auto& o) { PutU32(b, o.central_headers[0] + 20, 0xFFFFFFF0u); },
       true},
      {"size near 2^32", [](auto& b, auto& o) { PutU32(b, o.central_headers[0] + 24, 0xFFFFFFFFu); }, true},
      {"size smaller than the inflated data", [](auto& b, auto& o) { PutU32(b, o.central_headers[0] + 24, 10); }, true},
      {"size larger than the inflated data", [](auto& b, auto& o) { PutU32(b, o.central_headers[0] + 24, 50000); },
       true},
      {"wrong CRC", [](auto& b, auto& o) { b[o.central_headers[0] + 16] ^= 1; }, true},
      {"unknown method", [](auto& b, auto& o) { PutU16(b, o.central_headers[0] + 10, 12); }, true},
      {"encrypted", [](auto& b, auto& o) { PutU16(b, o.central_headers[0] + 8, 1); }, true},
      {"local header name length past the data", [](auto& b, auto& o) { PutU16(b, o.local_headers[0] + 26, 0xFFFF); },
       true},
      {"local header signature", [](auto& b, auto& o) { b[o.local_headers[0]] = 'X'; }, true},
  };
  for (const Case& c : cases) {
    ZipBuilder zip = SmallPackage();
    std::vector<std::uint8_t> bytes = zip.Build();
    c.damage(bytes, zip.offsets());
    CZipArchive archive;
    EXPECT_EQ(archive.Open(bytes), c.opens) << c.what;
    std::vector<std::uint8_t> out;
    EXPECT_FALSE(archive.Read(L"msgbox.xml", out)) << c.what;
    EXPECT_TRUE(out.empty()) << c.what;
  }
}

// Truncation at every length and random byte damage: either an error or the original bytes.
TEST(ZipArchive, TruncatedAndMutatedArchivesNeverReadWrongData) {
  const std::vector<std::uint8_t> original = SmallPackage().Build();
  const std::vector<std::uint8_t> layout = Bytes(Layout(0)), picture = Noise(3000, 1);
  const auto check = [&](std::vector<std::uint8_t> bytes, const std::string& what) {
    CZipArchive archive;
    if (!archive.OpenView(bytes)) return;
    std::vector<std::uint8_t> out;
    if (archive.Read(L"msgbox.xml", out)) {
      EXPECT_EQ(out, layout) << what;
    }
    if (archive.Read(L"images/bg_msg.png", out)) {
      EXPECT_EQ(out, picture) << what;
    }
    for (const std::wstring& name : archive.Names()) (void)archive.Read(name, out);
  };
  for (size_t n = 0; n < original.size(); ++n)
    check(std::vector<std::uint8_t>(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(n)),
          "truncated to " + std::to_string(n));

  std::mt19937 rng(20261211);
  for (int round = 0; round < 4000; ++round) {
    std::vector<std::uint8_t> bytes = original;
    const int flips = 1 + static_cast<int>(rng() % 4);
    for (int k = 0; k < flips; ++k) bytes[rng() % bytes.size()] ^= static_cast<std::uint8_t>(1 + rng() % 255);
    check(std::move(bytes), "mutation round " + std::to_string(round));
  }
}
