#include "image/exif_parser.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>

#include "image/jpeg_markers.h"

namespace image {
namespace {

constexpr std::uint16_t kExifPointer = 34665;
constexpr std::uint16_t kGpsPointer = 34853;
// No real IFD comes near these; they bound the work a hostile block can ask for.
constexpr std::uint16_t kMaxEntries = 1024;
constexpr std::uint32_t kMaxVectorItems = 256;

class Reader {
 public:
  Reader(std::span<const std::uint8_t> data, bool big_endian) : data_(data), big_(big_endian) {}
  [[nodiscard]] bool Has(std::uint64_t offset, std::uint64_t size) const {
    return offset <= data_.size() && size <= data_.size() - offset;
  }
  [[nodiscard]] std::uint16_t U16(std::uint64_t at) const {
    const std::uint8_t* p = data_.data() + at;
    return big_ ? static_cast<std::uint16_t>(p[0] << 8 | p[1]) : static_cast<std::uint16_t>(p[1] << 8 | p[0]);
  }
  [[nodiscard]] std::uint32_t U32(std::uint64_t at) const {
    const std::uint8_t* p = data_.data() + at;
    return big_ ? (std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3])
                : (std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0]);
  }
  [[nodiscard]] const std::uint8_t* At(std::uint64_t at) const { return data_.data() + at; }

 private:
  std::span<const std::uint8_t> data_;
  bool big_;
};

std::uint32_t TypeSize(std::uint16_t type) {
  switch (type) {
    case 1: case 2: case 6: case 7: return 1;   // BYTE, ASCII, SBYTE, UNDEFINED
    case 3: case 8: return 2;                   // SHORT, SSHORT
    case 4: case 9: case 11: return 4;          // LONG, SLONG, FLOAT
    case 5: case 10: case 12: return 8;         // RATIONAL, SRATIONAL, DOUBLE
    default: return 0;
  }
}

// One entry's value, or nothing when its data lies outside the block.
std::optional<ExifValue> ReadValue(const Reader& r, std::uint64_t entry) {
  const std::uint16_t type = r.U16(entry + 2);
  const std::uint32_t count = r.U32(entry + 4);
  const std::uint32_t size = TypeSize(type);
  if (size == 0 || count == 0) return std::nullopt;
  const std::uint64_t bytes = std::uint64_t{size} * count;
  const std::uint64_t at = bytes <= 4 ? entry + 8 : r.U32(entry + 8);
  ExifValue v;
  if (type == 2) {
    if (!r.Has(at, bytes)) return std::nullopt;
    const auto* p = reinterpret_cast<const char*>(r.At(at));
    size_t n = 0;
    while (n < bytes && p[n] != '\0') ++n;
    v.kind = ExifValue::Kind::kAnsi;
    v.ansi.assign(p, n);
    return v;
  }
  const std::uint32_t items = std::min(count, kMaxVectorItems);
  if (!r.Has(at, std::uint64_t{size} * items)) return std::nullopt;
  switch (type) {
    case 1: case 6: v.low16 = *r.At(at); break;
    case 3: case 8: v.low16 = r.U16(at); break;
    case 4: case 9: case 5: case 10: v.low16 = static_cast<std::uint16_t>(r.U32(at)); break;
    default: break;
  }
  if (type == 3) {
    v.kind = count == 1 ? ExifValue::Kind::kUInt16 : ExifValue::Kind::kUInt16Vector;
    v.number = v.low16;
  } else if (type == 4 && count == 1) {
    v.kind = ExifValue::Kind::kUInt32;
    v.number = r.U32(at);
  } else if (type == 5) {
    for (std::uint32_t i = 0; i < items; ++i) v.rationals.emplace_back(r.U32(at + 8ull * i), r.U32(at + 8ull * i + 4));
    v.kind = count == 1 ? ExifValue::Kind::kURational : ExifValue::Kind::kURationalVector;
  }
  return v;
}

// Reads one IFD's entries into out; the offsets of the sub-IFDs it points to come back through the pointers.
void ReadIfd(const Reader& r, std::uint32_t offset, std::map<std::uint16_t, ExifValue>& out, std::uint32_t* exif,
             std::uint32_t* gps) {
  if (!r.Has(offset, 2)) return;
  const std::uint16_t n = std::min(r.U16(offset), kMaxEntries);
  for (std::uint16_t i = 0; i < n; ++i) {
    const std::uint64_t entry = offset + 2ull + 12ull * i;
    if (!r.Has(entry, 12)) return;
    const std::uint16_t tag = r.U16(entry);
    const std::uint16_t type = r.U16(entry + 2);
    if ((tag == kExifPointer || tag == kGpsPointer) && (type == 4 || type == 13) && r.U32(entry + 4) == 1) {
      if (tag == kExifPointer && exif) *exif = r.U32(entry + 8);
      if (tag == kGpsPointer && gps) *gps = r.U32(entry + 8);
      continue;
    }
    if (out.count(tag)) continue;  // the first of duplicate tags counts
    if (auto v = ReadValue(r, entry)) out.emplace(tag, std::move(*v));
  }
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof(text), format, value);
  return text;
}

}  // namespace

const ExifValue* ExifBlock::Find(ExifIfd ifd, std::uint16_t tag) const {
  const auto& map = ifd == ExifIfd::kIfd0 ? ifd0 : ifd == ExifIfd::kExif ? exif : gps;
  auto it = map.find(tag);
  return it == map.end() ? nullptr : &it->second;
}

std::optional<std::span<const std::uint8_t>> FindJpegExif(std::span<const std::uint8_t> jpeg) {
  static constexpr std::uint8_t kExifId[] = {'E', 'x', 'i', 'f', 0, 0};
  for (const JpegSegment& s : JpegHeaderSegments(jpeg))
    if (s.marker == 0xE1 && s.body.size() >= 6 && std::equal(kExifId, kExifId + 6, s.body.begin())) return s.body.subspan(6);
  return std::nullopt;
}

bool ParseExif(std::span<const std::uint8_t> tiff, ExifBlock& out) {
  out = {};
  if (tiff.size() < 8) return false;
  bool big;
  if (tiff[0] == 'I' && tiff[1] == 'I') big = false;
  else if (tiff[0] == 'M' && tiff[1] == 'M') big = true;
  else return false;
  const Reader r(tiff, big);
  if (r.U16(2) != 42) return false;
  std::uint32_t exif = 0, gps = 0;
  const std::uint32_t ifd0 = r.U32(4);
  ReadIfd(r, ifd0, out.ifd0, &exif, &gps);
  // Each sub-IFD once, and never the IFD that points to it: a pointer back is a loop.
  std::set<std::uint32_t> seen{ifd0};
  std::uint32_t nested_gps = 0;
  if (exif && seen.insert(exif).second) ReadIfd(r, exif, out.exif, nullptr, gps ? nullptr : &nested_gps);
  if (!gps) gps = nested_gps;
  if (gps && seen.insert(gps).second) ReadIfd(r, gps, out.gps, nullptr, nullptr);
  return true;
}

std::optional<std::span<const std::uint8_t>> FindExifThumbnail(std::span<const std::uint8_t> tiff) {
  if (tiff.size() < 8) return std::nullopt;
  bool big;
  if (tiff[0] == 'I' && tiff[1] == 'I') big = false;
  else if (tiff[0] == 'M' && tiff[1] == 'M') big = true;
  else return std::nullopt;
  const Reader r(tiff, big);
  if (r.U16(2) != 42) return std::nullopt;
  const std::uint32_t ifd0 = r.U32(4);
  if (!r.Has(ifd0, 2)) return std::nullopt;
  const std::uint64_t next_at = ifd0 + 2ull + 12ull * r.U16(ifd0);
  if (!r.Has(next_at, 4)) return std::nullopt;
  const std::uint32_t ifd1 = r.U32(next_at);
  if (ifd1 == 0 || ifd1 == ifd0 || !r.Has(ifd1, 2)) return std::nullopt;
  std::map<std::uint16_t, ExifValue> entries;
  ReadIfd(r, ifd1, entries, nullptr, nullptr);
  const auto number = [&](std::uint16_t tag) -> std::uint32_t {
    auto it = entries.find(tag);
    if (it == entries.end()) return 0;
    return it->second.kind == ExifValue::Kind::kUInt32 ? it->second.number : it->second.low16;
  };
  const std::uint32_t offset = number(0x0201), length = number(0x0202);
  if (length < 4 || !r.Has(offset, length)) return std::nullopt;
  const auto thumbnail = tiff.subspan(offset, length);
  if (thumbnail[0] != 0xFF || thumbnail[1] != 0xD8) return std::nullopt;
  return thumbnail;
}

std::optional<std::string> ExifAnsiText(const ExifValue& v) {
  if (v.kind != ExifValue::Kind::kAnsi) return std::nullopt;
  return v.ansi;
}

std::optional<std::string> ExifInteger(const ExifValue& v) {
  if (v.kind != ExifValue::Kind::kUInt16) return std::nullopt;
  return std::to_string(v.number);
}

std::string ExifRationalOneDecimal(const ExifValue& v) {
  if (v.kind != ExifValue::Kind::kURational || v.rationals.empty() || v.rationals[0].second == 0) return "0.0";
  const float q = static_cast<float>(v.rationals[0].first) / static_cast<float>(v.rationals[0].second);
  return Format("%.1f", q);
}

std::optional<std::string> ExifExposure(const ExifValue& v) {
  if (v.kind != ExifValue::Kind::kURational || v.rationals.empty()) return std::nullopt;
  char text[32];
  std::snprintf(text, sizeof(text), "%d/%d", static_cast<int>(v.rationals[0].first),
                static_cast<int>(v.rationals[0].second));
  return std::string(text);
}

std::optional<std::string> ExifGpsCoordinate(const ExifValue* value, const ExifValue* reference, char negative) {
  if (!value) return std::nullopt;
  float degrees = 0;
  const auto& r = value->rationals;
  if (value->kind == ExifValue::Kind::kURationalVector && r.size() > 2 && r[0].second && r[1].second && r[2].second) {
    const float d = static_cast<float>(r[0].first) / static_cast<float>(r[0].second);
    const float m = static_cast<float>(r[1].first) / static_cast<float>(r[1].second);
    const float s = static_cast<float>(r[2].first) / static_cast<float>(r[2].second);
    degrees = m / 60.0f + d + s / 3600.0f;
  }
  if (reference && reference->kind == ExifValue::Kind::kAnsi && reference->ansi.size() == 1 &&
      std::toupper(static_cast<unsigned char>(reference->ansi[0])) == negative)
    degrees = -degrees;
  return Format("%f", degrees);
}

}  // namespace image
