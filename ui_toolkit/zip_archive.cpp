#include "ui_toolkit/zip_archive.h"

#include <zlib.h>

#include <algorithm>

#include "basic_lib/text_case.h"
#include "basic_lib/text_convert.h"

namespace ui_toolkit {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr size_t kEndSize = 22, kCentralSize = 46, kLocalSize = 30;
constexpr std::uint16_t kFlagEncrypted = 0x0001, kFlagUtf8 = 0x0800;
constexpr std::uint16_t kMethodStored = 0, kMethodDeflate = 8;

// Little-endian reads over a span; the caller checks the range first.
std::uint16_t U16(std::span<const std::uint8_t> d, size_t at) {
  return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8);
}
std::uint32_t U32(std::span<const std::uint8_t> d, size_t at) {
  return static_cast<std::uint32_t>(d[at]) | static_cast<std::uint32_t>(d[at + 1]) << 8 |
         static_cast<std::uint32_t>(d[at + 2]) << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}
bool Fits(std::span<const std::uint8_t> d, std::uint64_t at, std::uint64_t size) {
  return at <= d.size() && size <= d.size() - at;
}

// Names without the UTF-8 flag are in the DOS code page; ours are ASCII, and anything else maps through 437.
std::wstring DecodeName(std::span<const std::uint8_t> raw, bool utf8) {
  const std::string bytes(raw.begin(), raw.end());
  return utf8 ? basic_lib::Utf8ToWide(bytes) : basic_lib::CodePageToWide(bytes, 437);
}

bool Inflate(std::span<const std::uint8_t> packed, std::vector<std::uint8_t>& out) {
  z_stream zs{};
  if (inflateInit2(&zs, -MAX_WBITS) != Z_OK) return false;
  zs.next_in = const_cast<Bytef*>(packed.data());
  zs.avail_in = static_cast<uInt>(packed.size());
  zs.next_out = out.data();
  zs.avail_out = static_cast<uInt>(out.size());
  int rc = inflate(&zs, Z_FINISH);
  const bool whole = rc == Z_STREAM_END && zs.total_out == out.size();
  inflateEnd(&zs);
  return whole;
}

}  // namespace

std::wstring ZipNameKey(std::wstring_view name) {
  std::wstring key = basic_lib::ToLower(name);
  std::replace(key.begin(), key.end(), L'\\', L'/');
  return key;
}

void CZipArchive::Clear() {
  owned_.clear();
  data_ = {};
  entries_.clear();
  directory_offset_ = 0;
  open_ = false;
}

bool CZipArchive::Open(std::vector<std::uint8_t> bytes) {
  Clear();
  owned_ = std::move(bytes);
  data_ = owned_;
  if (!ParseDirectory()) Clear();
  return open_;
}

bool CZipArchive::OpenView(std::span<const std::uint8_t> bytes) {
  Clear();
  data_ = bytes;
  if (!ParseDirectory()) Clear();
  return open_;
}

bool CZipArchive::ParseDirectory() {
  if (data_.size() < kEndSize) return false;
  // The end record sits in the last 22 bytes plus at most a 64 KiB comment.
  const size_t lowest = data_.size() > kEndSize + 0xFFFF ? data_.size() - kEndSize - 0xFFFF : 0;
  size_t end = data_.size() - kEndSize + 1;
  bool found = false;
  while (end-- > lowest) {
    if (U32(data_, end) == kEndSignature && end + kEndSize + U16(data_, end + 20) == data_.size()) {
      found = true;
      break;
    }
  }
  if (!found) return false;
  if (U16(data_, end + 4) != 0 || U16(data_, end + 6) != 0) return false;  // multi-disk archives
  const std::uint16_t count = U16(data_, end + 10);
  if (count != U16(data_, end + 8)) return false;
  const std::uint32_t dir_size = U32(data_, end + 12);
  const std::uint32_t dir_offset = U32(data_, end + 16);
  if (!Fits(data_, dir_offset, dir_size) || std::uint64_t{dir_offset} + dir_size > end) return false;

  size_t at = dir_offset;
  const size_t dir_end = size_t{dir_offset} + dir_size;
  entries_.reserve(count);
  for (std::uint16_t i = 0; i < count; ++i) {
    if (at + kCentralSize > dir_end || U32(data_, at) != kCentralSignature) return false;
    Entry e;
    e.flags = U16(data_, at + 8);
    e.method = U16(data_, at + 10);
    e.crc = U32(data_, at + 16);
    e.packed_size = U32(data_, at + 20);
    e.size = U32(data_, at + 24);
    const std::uint16_t name_len = U16(data_, at + 28);
    const std::uint32_t skip = std::uint32_t{name_len} + U16(data_, at + 30) + U16(data_, at + 32);
    e.local_offset = U32(data_, at + 42);
    if (at + kCentralSize + skip > dir_end) return false;
    // Entries start before the directory; zip64 markers (0xFFFFFFFF) fail here too.
    if (std::uint64_t{e.local_offset} + kLocalSize > dir_offset) return false;
    e.name = DecodeName(data_.subspan(at + kCentralSize, name_len), (e.flags & kFlagUtf8) != 0);
    e.key = ZipNameKey(e.name);
    entries_.push_back(std::move(e));
    at += kCentralSize + skip;
  }
  directory_offset_ = dir_offset;
  open_ = true;
  return true;
}

const CZipArchive::Entry* CZipArchive::Find(std::wstring_view name) const {
  const std::wstring key = ZipNameKey(name);
  for (const Entry& e : entries_)
    if (e.key == key) return &e;
  return nullptr;
}

std::vector<std::wstring> CZipArchive::Names() const {
  std::vector<std::wstring> names;
  names.reserve(entries_.size());
  for (const Entry& e : entries_) names.push_back(e.name);
  return names;
}

bool CZipArchive::Read(std::wstring_view name, std::vector<std::uint8_t>& out) const {
  out.clear();
  const Entry* e = Find(name);
  if (!e || (e->flags & kFlagEncrypted) || e->size > kMaxEntrySize) return false;
  const size_t local = e->local_offset;
  if (U32(data_, local) != kLocalSignature) return false;
  const std::uint64_t start = std::uint64_t{local} + kLocalSize + U16(data_, local + 26) + U16(data_, local + 28);
  // The data must lie between its local header and the central directory.
  if (start > directory_offset_ || e->packed_size > directory_offset_ - start) return false;
  const auto packed = data_.subspan(static_cast<size_t>(start), e->packed_size);

  std::vector<std::uint8_t> bytes(e->size);
  if (e->method == kMethodStored) {
    if (e->packed_size != e->size) return false;
    std::copy(packed.begin(), packed.end(), bytes.begin());
  } else if (e->method == kMethodDeflate) {
    if (e->size > 0 && !Inflate(packed, bytes)) return false;
  } else {
    return false;
  }
  const uLong crc = crc32(crc32(0, nullptr, 0), bytes.data(), static_cast<uInt>(bytes.size()));
  if (crc != e->crc) return false;
  out = std::move(bytes);
  return true;
}

}  // namespace ui_toolkit
