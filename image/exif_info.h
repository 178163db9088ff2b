#pragma once
// CImageExifInfo: the shooting information of an opened picture, read once into numbers and preformatted
// texts. The values come from the frame's metadata query reader where the platform answers the EXIF
// query paths, and from our own reading of the file's APP1 block where it does not (Wine); either way
// through the same value readers.
#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "image/exif_parser.h"

namespace image {

struct CImageExifInfo {
  std::wstring shooting_time;
  std::int32_t orientation = 0;
  std::wstring gps_position;
  std::int32_t resolution = 0;
  std::wstring camera_maker;
  std::wstring camera_model;
  std::wstring lens;
  std::wstring f_number;
  std::wstring max_aperture;
  std::wstring exposure_time;
  std::wstring iso_speed;
  std::wstring focal_length;
  std::wstring metering_mode;
  std::wstring flash;
  std::wstring white_balance;
  std::wstring exposure_program;
};

// Where tag values come from.
class IExifSource {
 public:
  virtual ~IExifSource() = default;
  // False when the tag is missing or cannot be read.
  [[nodiscard]] virtual bool Query(ExifIfd ifd, std::uint16_t tag, ExifValue& out) const = 0;
};

// The frame's metadata query reader with the "/app1/ifd" paths.
std::unique_ptr<IExifSource> MakeWicExifSource(IWICMetadataQueryReader* reader);
// A parsed APP1 block (which may be empty: then every query fails).
std::unique_ptr<IExifSource> MakeParsedExifSource(ExifBlock block);

// Fills the record from the source and the frame's resolution; a null source leaves the record empty.
void ReadExifInfo(CImageExifInfo& record, const IExifSource* source, IWICBitmapFrameDecode* frame);
// The same with the resolution given (horizontal dots per inch), for pictures decoded without WIC.
void ReadExifInfo(CImageExifInfo& record, const IExifSource* source, double dpi);
// The whole reading for a decoded frame: the platform's reader when it answers, else the APP1 block of
// the file's first bytes; without a query reader the record stays empty.
void ReadExifInfo(CImageExifInfo& record, IWICBitmapFrameDecode* frame, std::span<const std::uint8_t> file_head);
// The first bytes of a file, up to limit (enough for the headers of a JPEG).
[[nodiscard]] std::vector<std::uint8_t> ReadFileHead(const std::wstring& path, size_t limit = 1 << 20);

}  // namespace image
