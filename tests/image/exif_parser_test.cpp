// The EXIF parser and value readers on blocks built here, in both byte orders, and a mutation run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "image/exif_info.h"
#include "image/exif_parser.h"

using namespace image;

namespace {

// A TIFF structure with IFD0 and optional EXIF and GPS IFDs, values placed after the directories.
class TiffBuilder {
 public:
  struct Entry {
    std::uint16_t tag, type;
    std::uint32_t count;
    std::vector<std::uint8_t> data;  // in file byte order
  };
  explicit TiffBuilder(bool big) : big_(big) {}

  std::vector<std::uint8_t> U16(std::uint16_t v) const {
    return big_ ? std::vector<std::uint8_t>{static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)}
                : std::vector<std::uint8_t>{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
  }
  std::vector<std::uint8_t> U32(std::uint32_t v) const {
    std::vector<std::uint8_t> out(4);
    for (int i = 0; i < 4; ++i) out[big_ ? 3 - i : i] = static_cast<std::uint8_t>(v >> (8 * i));
    return out;
  }
  Entry Ascii(std::uint16_t tag, const std::string& text) const {
    std::vector<std::uint8_t> d(text.begin(), text.end());
    d.push_back(0);
    return {tag, 2, static_cast<std::uint32_t>(d.size()), d};
  }
  Entry Short(std::uint16_t tag, std::uint16_t v) const { return {tag, 3, 1, U16(v)}; }
  Entry Long(std::uint16_t tag, std::uint32_t v) const { return {tag, 4, 1, U32(v)}; }
  Entry Rationals(std::uint16_t tag, std::vector<std::pair<std::uint32_t, std::uint32_t>> values) const {
    Entry e{tag, 5, static_cast<std::uint32_t>(values.size()), {}};
    for (auto [n, d] : values) {
      for (auto b : U32(n)) e.data.push_back(b);
      for (auto b : U32(d)) e.data.push_back(b);
    }
    return e;
  }

  std::vector<Entry> ifd0, exif, gps;

  std::vector<std::uint8_t> Build() const {
    std::vector<std::uint8_t> out = big_ ? std::vector<std::uint8_t>{'M', 'M'} : std::vector<std::uint8_t>{'I', 'I'};
    Append(out, U16(42));
    Append(out, U32(8));
    auto zero = ifd0;
    if (!exif.empty()) zero.push_back(Long(34665, 0));
    if (!gps.empty()) zero.push_back(Long(34853, 0));
    const size_t zero_at = 8;
    const size_t exif_at = zero_at + Size(zero);
    const size_t gps_at = exif_at + (exif.empty() ? 0 : Size(exif));
    for (Entry& e : zero) {
      if (e.tag == 34665) e.data = U32(static_cast<std::uint32_t>(exif_at));
      if (e.tag == 34853) e.data = U32(static_cast<std::uint32_t>(gps_at));
    }
    std::vector<std::uint8_t> values;
    size_t values_at = gps_at + (gps.empty() ? 0 : Size(gps));
    for (const std::vector<Entry>* dir : {static_cast<const std::vector<Entry>*>(&zero), &exif, &gps}) {
      if (dir->empty()) continue;
      Append(out, U16(static_cast<std::uint16_t>(dir->size())));
      for (const Entry& e : *dir) {
        Append(out, U16(e.tag));
        Append(out, U16(e.type));
        Append(out, U32(e.count));
        if (e.data.size() <= 4) {
          auto inline_data = e.data;
          inline_data.resize(4, 0);
          Append(out, inline_data);
        } else {
          Append(out, U32(static_cast<std::uint32_t>(values_at + values.size())));
          Append(values, e.data);
          if (values.size() % 2) values.push_back(0);
        }
      }
      Append(out, U32(0));
    }
    Append(out, values);
    return out;
  }

 private:
  static size_t Size(const std::vector<Entry>& dir) { return 2 + 12 * dir.size() + 4; }
  static void Append(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& more) {
    out.insert(out.end(), more.begin(), more.end());
  }
  bool big_;
};

TiffBuilder Sample(bool big) {
  TiffBuilder b(big);
  b.ifd0 = {b.Ascii(271, "Canon"), b.Ascii(272, "EOS R5"), b.Short(274, 6)};
  b.exif = {b.Rationals(33437, {{28, 10}}), b.Rationals(33434, {{1, 250}}), b.Short(34855, 400),
            b.Rationals(37386, {{50, 1}}), b.Rationals(37381, {{0, 0}}), b.Short(37383, 5), b.Short(37385, 16),
            b.Short(41987, 1), b.Short(34850, 3), b.Ascii(36867, "2024:05:03 14:07:09"),
            b.Ascii(42036, "RF24-70mm F2.8 L IS USM")};
  b.gps = {b.Ascii(1, "N"), b.Rationals(2, {{39, 1}, {54, 1}, {1512, 100}}), b.Ascii(3, "E"),
           b.Rationals(4, {{116, 1}, {24, 1}, {0, 1}})};
  return b;
}

CImageExifInfo Read(const std::vector<std::uint8_t>& tiff) {
  ExifBlock block;
  EXPECT_TRUE(ParseExif(tiff, block));
  CImageExifInfo info;
  auto source = MakeParsedExifSource(block);
  ReadExifInfo(info, source.get(), nullptr);
  return info;
}

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

}  // namespace

TEST(ExifParser, EveryFieldInBothByteOrders) {
  for (bool big : {false, true}) {
    SCOPED_TRACE(big ? "big-endian" : "little-endian");
    const CImageExifInfo info = Read(Sample(big).Build());
    EXPECT_EQ(info.camera_maker, L"Canon");
    EXPECT_EQ(info.camera_model, L"EOS R5");
    EXPECT_EQ(info.lens, L"RF24-70mm F2.8 L IS USM");
    EXPECT_EQ(info.shooting_time, L"2024:05:03 14:07:09");
    EXPECT_EQ(info.orientation, 6);
    EXPECT_EQ(info.f_number, L"2.8");
    EXPECT_EQ(info.max_aperture, L"0.0") << "0/0";
    EXPECT_EQ(info.exposure_time, L"1/250");
    EXPECT_EQ(info.iso_speed, L"400");
    EXPECT_EQ(info.focal_length, L"50.0");
    EXPECT_EQ(info.metering_mode, L"5");
    EXPECT_EQ(info.flash, L"16");
    EXPECT_EQ(info.white_balance, L"1");
    EXPECT_EQ(info.exposure_program, L"3");
    // 39 + 54/60 + 15.12/3600 in single precision.
    const std::string gps = Narrow(info.gps_position);
    ASSERT_EQ(gps.size(), std::string("39.904200,116.400000").size()) << gps;
    EXPECT_NEAR(std::stod(gps.substr(0, 9)), 39.9042, 0.00001) << gps;
    EXPECT_EQ(gps[9], ',');
    EXPECT_NEAR(std::stod(gps.substr(10)), 116.4, 0.00001) << gps;
    EXPECT_EQ(info.resolution, 0) << "no frame: no resolution";
  }
}

TEST(ExifParser, ValueFormsAndOddTypes) {
  TiffBuilder b(false);
  b.ifd0 = {b.Long(274, 8)};  // orientation stored as LONG: still its 16-bit value
  b.exif = {b.Rationals(33434, {{10, 1}}), b.Long(34855, 800), b.Rationals(33437, {{5, 0}}),
            b.Ascii(37383, "5"), b.Rationals(37386, {{1, 2}, {3, 4}})};
  b.gps = {b.Ascii(1, "s"), b.Rationals(2, {{33, 1}, {52, 1}, {768, 100}}), b.Ascii(3, "w"),
           b.Rationals(4, {{151, 1}, {12, 1}, {0, 0}})};
  const CImageExifInfo info = Read(b.Build());
  EXPECT_EQ(info.orientation, 8);
  EXPECT_EQ(info.exposure_time, L"10/1");
  EXPECT_EQ(info.iso_speed, L"") << "only an unsigned 16-bit value is an integer";
  EXPECT_EQ(info.f_number, L"0.0") << "zero denominator";
  EXPECT_EQ(info.metering_mode, L"");
  EXPECT_EQ(info.focal_length, L"0.0") << "a vector is another type";
  const std::string gps = Narrow(info.gps_position);
  EXPECT_EQ(gps.substr(0, 4), "-33.") << "a lower-case s negates";
  EXPECT_EQ(gps.substr(gps.find(',')), ",-0.000000") << "a zero denominator gives 0, and w negates it";

  TiffBuilder only_latitude(true);
  only_latitude.gps = {only_latitude.Ascii(1, "N"), only_latitude.Rationals(2, {{48, 1}, {51, 1}, {30, 1}})};
  EXPECT_EQ(Read(only_latitude.Build()).gps_position, L"");

  TiffBuilder none(false);
  const CImageExifInfo empty = Read(none.Build());
  EXPECT_EQ(empty.orientation, 0);
  EXPECT_EQ(empty.camera_maker, L"");
  EXPECT_EQ(empty.f_number, L"");
}

TEST(ExifParser, FindsTheBlockInAJpegAndRejectsOthers) {
  const auto tiff = Sample(false).Build();
  std::vector<std::uint8_t> jpeg{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 'J', 'F'};
  const size_t length = tiff.size() + 8;
  const std::vector<std::uint8_t> app1{0xFF, 0xE1, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length),
                                       'E', 'x', 'i', 'f', 0, 0};
  jpeg.insert(jpeg.end(), app1.begin(), app1.end());
  jpeg.insert(jpeg.end(), tiff.begin(), tiff.end());
  jpeg.insert(jpeg.end(), {0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9});
  const auto found = FindJpegExif(jpeg);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->size(), tiff.size());
  EXPECT_TRUE(std::equal(found->begin(), found->end(), tiff.begin()));

  EXPECT_FALSE(FindJpegExif(std::vector<std::uint8_t>{0x89, 'P', 'N', 'G'}).has_value());
  EXPECT_FALSE(FindJpegExif(std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xDA, 0, 2}).has_value());
  jpeg[11] = 0xFF;  // the APP1 length now runs past the end
  EXPECT_FALSE(FindJpegExif(jpeg).has_value());
  ExifBlock block;
  EXPECT_FALSE(ParseExif(std::vector<std::uint8_t>{'I', 'I', 43, 0, 8, 0, 0, 0}, block));
  EXPECT_FALSE(ParseExif(std::vector<std::uint8_t>{'X', 'X', 42, 0, 8, 0, 0, 0}, block));
}

TEST(ExifParser, SurvivesMutatedAndTruncatedBlocks) {
  // Blocks with hostile fields: offsets past the end or back into the block, counts near 2^32, IFDs that
  // point at themselves. Each parse must stay inside its own copy (sized exactly, so a read past the end
  // is a read past the allocation) and take bounded time.
  std::vector<std::vector<std::uint8_t>> seeds{Sample(false).Build(), Sample(true).Build()};
  {
    TiffBuilder loop(false);
    loop.ifd0 = {loop.Long(34665, 8), loop.Long(34853, 8), loop.Short(274, 1)};  // sub-IFDs pointing at IFD0
    seeds.push_back(loop.Build());
    TiffBuilder huge(true);
    huge.ifd0 = {{271, 2, 0xFFFFFFF0u, huge.U32(20)}, {2, 5, 0x20000000u, huge.U32(8)}, {274, 3, 0xFFFFFFFFu, huge.U32(0)}};
    seeds.push_back(huge.Build());
  }
  std::mt19937 rng(20261211);
  std::chrono::nanoseconds slowest{0};
  size_t parsed = 0;
  for (int run = 0; run < 200000; ++run) {
    std::vector<std::uint8_t> block = seeds[run % seeds.size()];
    const int mutations = 1 + static_cast<int>(rng() % 8);
    for (int m = 0; m < mutations; ++m) {
      const size_t at = rng() % block.size();
      switch (rng() % 4) {
        case 0: block[at] = static_cast<std::uint8_t>(rng()); break;
        case 1: block[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8)); break;
        case 2: block[at] = (rng() % 2) ? 0xFF : 0x00; break;
        default:
          // An offset-sized field pointing somewhere near: into the block, at itself, or just past the end.
          if (at + 4 <= block.size()) {
            const std::uint32_t target = static_cast<std::uint32_t>(rng() % (block.size() + 16));
            for (int i = 0; i < 4; ++i) block[at + i] = static_cast<std::uint8_t>(target >> (8 * i));
          }
      }
    }
    if (rng() % 4 == 0) block.resize(rng() % block.size());
    block.shrink_to_fit();
    const auto one = std::chrono::steady_clock::now();
    ExifBlock out;
    if (ParseExif(block, out)) ++parsed;
    CImageExifInfo info;
    auto source = MakeParsedExifSource(std::move(out));
    ReadExifInfo(info, source.get(), nullptr);
    slowest = std::max(slowest, std::chrono::steady_clock::now() - one);
  }
  EXPECT_GT(parsed, 1000u) << "the mutations keep enough headers valid to reach the directories";
  // A loop or an unbounded count would show as one block taking far longer than any other.
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(slowest).count(), 250) << "bounded time per block";
}

TEST(ExifParser, TheEmbeddedThumbnailIsFoundOnlyWhenItLiesWhollyInside) {
  // Little-endian: an empty IFD0 at 8 whose next IFD (IFD1, at 14) names the thumbnail's offset and length.
  const auto make = [](std::uint32_t next, std::uint32_t offset, std::uint32_t length, std::uint8_t first) {
    std::vector<std::uint8_t> t{'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) t.push_back(static_cast<std::uint8_t>(next >> (8 * i)));
    const auto entry = [&t](std::uint16_t tag, std::uint32_t value) {
      for (std::uint8_t b : {static_cast<std::uint8_t>(tag), static_cast<std::uint8_t>(tag >> 8), std::uint8_t{4},
                             std::uint8_t{0}, std::uint8_t{1}, std::uint8_t{0}, std::uint8_t{0}, std::uint8_t{0}})
        t.push_back(b);
      for (int i = 0; i < 4; ++i) t.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    t.push_back(2);
    t.push_back(0);
    entry(0x0201, offset);
    entry(0x0202, length);
    for (int i = 0; i < 4; ++i) t.push_back(0);
    for (std::uint8_t b : {first, std::uint8_t{0xD8}, std::uint8_t{0xFF}, std::uint8_t{0xD9}}) t.push_back(b);
    return t;
  };
  const auto good = make(14, 44, 4, 0xFF);
  ASSERT_EQ(good.size(), 48u);
  const auto found = FindExifThumbnail(good);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->size(), 4u);
  EXPECT_EQ((*found)[0], 0xFF);
  struct Case {
    const char* what;
    std::vector<std::uint8_t> tiff;
  };
  const Case bad[] = {
      {"no IFD1", make(0, 44, 4, 0xFF)},
      {"IFD1 is IFD0", make(8, 44, 4, 0xFF)},
      {"IFD1 outside", make(4000, 44, 4, 0xFF)},
      {"offset outside", make(14, 46, 4, 0xFF)},
      {"length outside", make(14, 44, 5, 0xFF)},
      {"huge length", make(14, 44, 0xFFFFFFFF, 0xFF)},
      {"not a JPEG", make(14, 44, 4, 0x00)},
  };
  for (const Case& c : bad) EXPECT_FALSE(FindExifThumbnail(c.tiff).has_value()) << c.what;
}
