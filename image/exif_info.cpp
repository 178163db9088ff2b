#include "image/exif_info.h"

#include <propvarutil.h>
#include <wrl/client.h>

#include <cwchar>

#include "basic_lib/scoped_handle.h"
#include "basic_lib/text_convert.h"

namespace image {
namespace {

using Microsoft::WRL::ComPtr;

// What a PROPVARIANT of the metadata reader means in the parser's terms.
bool FromPropVariant(const PROPVARIANT& pv, ExifValue& v) {
  v = {};
  switch (pv.vt) {
    case VT_LPSTR:
      v.kind = ExifValue::Kind::kAnsi;
      v.ansi = pv.pszVal ? pv.pszVal : "";
      return true;
    case VT_LPWSTR:
      v.kind = ExifValue::Kind::kWide;
      v.wide = pv.pwszVal ? pv.pwszVal : L"";
      return true;
    case VT_VECTOR | VT_LPSTR:
      if (pv.calpstr.cElems < 1) break;
      v.kind = ExifValue::Kind::kAnsi;
      v.ansi = pv.calpstr.pElems[0] ? pv.calpstr.pElems[0] : "";
      return true;
    case VT_UI2:
      v.kind = ExifValue::Kind::kUInt16;
      v.number = v.low16 = pv.uiVal;
      return true;
    case VT_UI4:
      v.kind = ExifValue::Kind::kUInt32;
      v.number = pv.ulVal;
      v.low16 = static_cast<std::uint16_t>(pv.ulVal);
      return true;
    case VT_UI8:
      v.kind = ExifValue::Kind::kURational;
      v.rationals.emplace_back(pv.uhVal.LowPart, pv.uhVal.HighPart);
      v.low16 = static_cast<std::uint16_t>(pv.uhVal.LowPart);
      return true;
    case VT_VECTOR | VT_UI8:
      v.kind = ExifValue::Kind::kURationalVector;
      for (ULONG i = 0; i < pv.cauh.cElems; ++i)
        v.rationals.emplace_back(pv.cauh.pElems[i].LowPart, pv.cauh.pElems[i].HighPart);
      return true;
    default:
      break;
  }
  v.kind = ExifValue::Kind::kOther;
  v.low16 = pv.uiVal;
  return true;
}

class WicExifSource final : public IExifSource {
 public:
  explicit WicExifSource(IWICMetadataQueryReader* reader) : reader_(reader) {}
  bool Query(ExifIfd ifd, std::uint16_t tag, ExifValue& out) const override {
    const wchar_t* format = ifd == ExifIfd::kIfd0   ? L"/app1/ifd/{ushort=%d}"
                            : ifd == ExifIfd::kExif ? L"/app1/ifd/exif/{ushort=%d}"
                                                    : L"/app1/ifd/gps/{ushort=%d}";
    wchar_t path[64];
    swprintf(path, 64, format, tag);
    PROPVARIANT pv;
    PropVariantInit(&pv);
    const bool ok = SUCCEEDED(reader_->GetMetadataByName(path, &pv)) && FromPropVariant(pv, out);
    PropVariantClear(&pv);
    return ok;
  }

 private:
  ComPtr<IWICMetadataQueryReader> reader_;
};

class ParsedExifSource final : public IExifSource {
 public:
  explicit ParsedExifSource(ExifBlock block) : block_(std::move(block)) {}
  bool Query(ExifIfd ifd, std::uint16_t tag, ExifValue& out) const override {
    const ExifValue* v = block_.Find(ifd, tag);
    if (!v) return false;
    out = *v;
    return true;
  }

 private:
  ExifBlock block_;
};

// Text as the reader gives it: ANSI through the thread's code page, wide as it is, anything else empty.
std::wstring TextOf(const ExifValue& v) {
  if (v.kind == ExifValue::Kind::kWide) return v.wide;
  const auto bytes = ExifAnsiText(v);
  return bytes ? basic_lib::CodePageToWide(*bytes, CP_THREAD_ACP) : std::wstring();
}

std::wstring Wide(const std::string& ascii) { return basic_lib::Utf8ToWide(ascii); }

}  // namespace

std::unique_ptr<IExifSource> MakeWicExifSource(IWICMetadataQueryReader* reader) {
  return reader ? std::make_unique<WicExifSource>(reader) : nullptr;
}

std::unique_ptr<IExifSource> MakeParsedExifSource(ExifBlock block) {
  return std::make_unique<ParsedExifSource>(std::move(block));
}

namespace {

void ReadFields(CImageExifInfo& record, const IExifSource* source, const double* dpi);

}  // namespace

void ReadExifInfo(CImageExifInfo& record, const IExifSource* source, IWICBitmapFrameDecode* frame) {
  double dpi_x = 0, dpi_y = 0;
  const bool has = frame && SUCCEEDED(frame->GetResolution(&dpi_x, &dpi_y));
  ReadFields(record, source, has ? &dpi_x : nullptr);
}

void ReadExifInfo(CImageExifInfo& record, const IExifSource* source, double dpi) { ReadFields(record, source, &dpi); }

namespace {

void ReadFields(CImageExifInfo& record, const IExifSource* source, const double* dpi) {
  if (!source) return;
  ExifValue v;
  const auto query = [&](ExifIfd ifd, std::uint16_t tag) { return source->Query(ifd, tag, v); };
  const auto text = [&](ExifIfd ifd, std::uint16_t tag, std::wstring& field) {
    if (query(ifd, tag)) field = TextOf(v);
  };
  const auto integer = [&](std::uint16_t tag, std::wstring& field) {
    if (query(ExifIfd::kExif, tag))
      if (const auto t = ExifInteger(v)) field = Wide(*t);
  };
  const auto rational = [&](std::uint16_t tag, std::wstring& field) {
    if (query(ExifIfd::kExif, tag)) field = Wide(ExifRationalOneDecimal(v));
  };

  text(ExifIfd::kExif, 36867, record.shooting_time);

  ExifValue latitude, latitude_ref, longitude, longitude_ref;
  const bool has_lat = source->Query(ExifIfd::kGps, 2, latitude);
  const bool has_lat_ref = source->Query(ExifIfd::kGps, 1, latitude_ref);
  if (const auto lat = ExifGpsCoordinate(has_lat ? &latitude : nullptr, has_lat_ref ? &latitude_ref : nullptr, 'S')) {
    const bool has_lon = source->Query(ExifIfd::kGps, 4, longitude);
    const bool has_lon_ref = source->Query(ExifIfd::kGps, 3, longitude_ref);
    if (const auto lon = ExifGpsCoordinate(has_lon ? &longitude : nullptr, has_lon_ref ? &longitude_ref : nullptr, 'W'))
      record.gps_position = Wide(*lat + "," + *lon);
  }

  if (dpi) record.resolution = static_cast<std::int32_t>(*dpi + 0.5);

  text(ExifIfd::kIfd0, 271, record.camera_maker);
  text(ExifIfd::kIfd0, 272, record.camera_model);
  text(ExifIfd::kExif, 42036, record.lens);
  rational(33437, record.f_number);
  rational(37381, record.max_aperture);
  if (query(ExifIfd::kExif, 33434))
    if (const auto t = ExifExposure(v)) record.exposure_time = Wide(*t);
  integer(34855, record.iso_speed);
  rational(37386, record.focal_length);
  integer(37383, record.metering_mode);
  integer(37385, record.flash);
  integer(41987, record.white_balance);
  integer(34850, record.exposure_program);
  if (query(ExifIfd::kIfd0, 274)) record.orientation = v.low16;
}

}  // namespace

void ReadExifInfo(CImageExifInfo& record, IWICBitmapFrameDecode* frame, std::span<const std::uint8_t> file_head) {
  if (!frame) return;
  ComPtr<IWICMetadataQueryReader> reader;
  if (FAILED(frame->GetMetadataQueryReader(&reader)) || !reader) return;
  // The platform's reader where it knows the APP1 block; our own reading of the same bytes where not.
  PROPVARIANT probe;
  PropVariantInit(&probe);
  const bool platform_reads_app1 = SUCCEEDED(reader->GetMetadataByName(L"/app1/ifd", &probe));
  PropVariantClear(&probe);
  std::unique_ptr<IExifSource> source;
  if (platform_reads_app1) {
    source = MakeWicExifSource(reader.Get());
  } else {
    ExifBlock block;
    if (const auto tiff = FindJpegExif(file_head)) (void)ParseExif(*tiff, block);
    source = MakeParsedExifSource(std::move(block));
  }
  ReadExifInfo(record, source.get(), frame);
}

std::vector<std::uint8_t> ReadFileHead(const std::wstring& path, size_t limit) {
  basic_lib::ScopedFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                               nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return {};
  std::vector<std::uint8_t> bytes(limit);
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(limit), &read, nullptr)) return {};
  bytes.resize(read);
  return bytes;
}

}  // namespace image
