#pragma once
// The EXIF block of a JPEG (APP1 "Exif\0\0" + a TIFF structure) read from bytes: IFD0 and its EXIF and
// GPS sub-IFDs, each tag turned into the value the platform's metadata reader would give (an ANSI
// string, an unsigned 16-bit value, an unsigned rational pair, a vector of them, ...), and the small
// readers that turn those values into the texts the viewer shows. Pure code: every offset and count is
// checked against the buffer, loops between IFDs are cut, and the work per block is bounded.
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace image {

enum class ExifIfd { kIfd0, kExif, kGps };

struct ExifValue {
  enum class Kind {
    kAnsi,             // ASCII: the bytes up to the first zero
    kWide,             // a wide string (the platform's reader may give one; the file never does)
    kUInt16,           // one SHORT
    kUInt32,           // one LONG
    kURational,        // one RATIONAL: numerator, denominator
    kURationalVector,  // several RATIONALs
    kUInt16Vector,     // several SHORTs
    kOther,            // anything else (signed, float, undefined bytes, long vectors)
  };
  Kind kind = Kind::kOther;
  std::string ansi;
  std::wstring wide;
  std::uint32_t number = 0;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> rationals;  // kURational has one
  std::uint16_t low16 = 0;  // the first value's low 16 bits for numeric types, whatever the type
};

struct ExifBlock {
  std::map<std::uint16_t, ExifValue> ifd0, exif, gps;
  [[nodiscard]] const ExifValue* Find(ExifIfd ifd, std::uint16_t tag) const;
};

// The TIFF structure inside the first APP1 "Exif" segment of a JPEG; nothing when there is none.
[[nodiscard]] std::optional<std::span<const std::uint8_t>> FindJpegExif(std::span<const std::uint8_t> jpeg);
// Parses a TIFF structure ("II*\0" or "MM\0*"). False when the header is not one; a damaged directory
// yields what could be read before the damage.
[[nodiscard]] bool ParseExif(std::span<const std::uint8_t> tiff, ExifBlock& out);

// The JPEG thumbnail IFD1 points to (JPEGInterchangeFormat and its length), when it lies wholly inside
// the structure and starts with a JPEG start marker.
[[nodiscard]] std::optional<std::span<const std::uint8_t>> FindExifThumbnail(std::span<const std::uint8_t> tiff);

// The value readers. Texts come back as the stored bytes (the caller converts them from the ANSI code
// page); nothing means "leave the field empty".
[[nodiscard]] std::optional<std::string> ExifAnsiText(const ExifValue& v);
[[nodiscard]] std::optional<std::string> ExifInteger(const ExifValue& v);
[[nodiscard]] std::string ExifRationalOneDecimal(const ExifValue& v);  // "%.1f", or "0.0"
[[nodiscard]] std::optional<std::string> ExifExposure(const ExifValue& v);  // "%d/%d"
// Degrees as "%f", negated when the reference text equals the negative one (any case); nothing when the
// value tag is missing.
[[nodiscard]] std::optional<std::string> ExifGpsCoordinate(const ExifValue* value, const ExifValue* reference,
                                                           char negative);

}  // namespace image
