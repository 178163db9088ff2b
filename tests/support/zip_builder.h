#pragma once
// Writes zip archives in memory for the tests: stored or deflated entries with correct CRCs, so that a
// test can then damage exactly the field it is about.
#include <cstdint>
#include <string>
#include <vector>

namespace test_support {

class ZipBuilder {
 public:
  enum class Method { kStored, kDeflate };

  // name is UTF-8 and gets the UTF-8 flag when it is not plain ASCII.
  ZipBuilder& Add(const std::string& name, const std::vector<std::uint8_t>& data, Method method = Method::kDeflate);
  ZipBuilder& Add(const std::string& name, const std::string& text, Method method = Method::kDeflate);
  [[nodiscard]] std::vector<std::uint8_t> Build() const;

  // Where the fields of the last Build() are, for tests that damage them.
  struct Offsets {
    std::vector<size_t> local_headers;
    std::vector<size_t> central_headers;
    size_t end_record = 0;
  };
  [[nodiscard]] const Offsets& offsets() const { return offsets_; }

 private:
  struct Item {
    std::string name;
    std::vector<std::uint8_t> data;
    std::vector<std::uint8_t> packed;
    std::uint16_t method;
    std::uint32_t crc;
  };
  std::vector<Item> items_;
  mutable Offsets offsets_;
};

void PutU16(std::vector<std::uint8_t>& b, size_t at, std::uint16_t v);
void PutU32(std::vector<std::uint8_t>& b, size_t at, std::uint32_t v);

}  // namespace test_support
