#include "tests/support/zip_builder.h"

#include <zlib.h>

namespace test_support {
namespace {

void Append16(std::vector<std::uint8_t>& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Append32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  Append16(b, static_cast<std::uint16_t>(v));
  Append16(b, static_cast<std::uint16_t>(v >> 16));
}

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& data) {
  z_stream zs{};
  deflateInit2(&zs, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::vector<std::uint8_t> out(deflateBound(&zs, static_cast<uLong>(data.size())) + 16);
  zs.next_in = const_cast<Bytef*>(data.data());
  zs.avail_in = static_cast<uInt>(data.size());
  zs.next_out = out.data();
  zs.avail_out = static_cast<uInt>(out.size());
  deflate(&zs, Z_FINISH);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

bool IsAscii(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

void PutU16(std::vector<std::uint8_t>& b, size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(std::vector<std::uint8_t>& b, size_t at, std::uint32_t v) {
  PutU16(b, at, static_cast<std::uint16_t>(v));
  PutU16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

ZipBuilder& ZipBuilder::Add(const std::string& name, const std::vector<std::uint8_t>& data, Method method) {
  Item item{name, data, {}, static_cast<std::uint16_t>(method == Method::kStored ? 0 : 8), 0};
  item.packed = method == Method::kStored ? data : Deflate(data);
  item.crc = static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), data.data(), static_cast<uInt>(data.size())));
  items_.push_back(std::move(item));
  return *this;
}

ZipBuilder& ZipBuilder::Add(const std::string& name, const std::string& text, Method method) {
  return Add(name, std::vector<std::uint8_t>(text.begin(), text.end()), method);
}

std::vector<std::uint8_t> ZipBuilder::Build() const {
  offsets_ = {};
  std::vector<std::uint8_t> b;
  for (const Item& it : items_) {
    offsets_.local_headers.push_back(b.size());
    Append32(b, 0x04034b50);
    Append16(b, 20);
    Append16(b, IsAscii(it.name) ? 0 : 0x0800);
    Append16(b, it.method);
    Append32(b, 0);  // time and date
    Append32(b, it.crc);
    Append32(b, static_cast<std::uint32_t>(it.packed.size()));
    Append32(b, static_cast<std::uint32_t>(it.data.size()));
    Append16(b, static_cast<std::uint16_t>(it.name.size()));
    Append16(b, 0);
    b.insert(b.end(), it.name.begin(), it.name.end());
    b.insert(b.end(), it.packed.begin(), it.packed.end());
  }
  const size_t dir_start = b.size();
  for (size_t i = 0; i < items_.size(); ++i) {
    const Item& it = items_[i];
    offsets_.central_headers.push_back(b.size());
    Append32(b, 0x02014b50);
    Append16(b, 20);
    Append16(b, 20);
    Append16(b, IsAscii(it.name) ? 0 : 0x0800);
    Append16(b, it.method);
    Append32(b, 0);
    Append32(b, it.crc);
    Append32(b, static_cast<std::uint32_t>(it.packed.size()));
    Append32(b, static_cast<std::uint32_t>(it.data.size()));
    Append16(b, static_cast<std::uint16_t>(it.name.size()));
    Append16(b, 0);  // extra
    Append16(b, 0);  // comment
    Append16(b, 0);  // disk
    Append16(b, 0);  // internal attributes
    Append32(b, 0);  // external attributes
    Append32(b, static_cast<std::uint32_t>(offsets_.local_headers[i]));
    b.insert(b.end(), it.name.begin(), it.name.end());
  }
  offsets_.end_record = b.size();
  Append32(b, 0x06054b50);
  Append16(b, 0);
  Append16(b, 0);
  Append16(b, static_cast<std::uint16_t>(items_.size()));
  Append16(b, static_cast<std::uint16_t>(items_.size()));
  Append32(b, static_cast<std::uint32_t>(offsets_.end_record - dir_start));
  Append32(b, static_cast<std::uint32_t>(dir_start));
  Append16(b, 0);
  return b;
}

}  // namespace test_support
