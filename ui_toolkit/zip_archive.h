#pragma once
// Reader of zip archives held in memory: the layout package res.zip and the archive embedded in the program.
// Stored and deflated entries; every size and offset is checked against the buffer and every entry's CRC-32
// against its data, so a corrupt or lying archive is an error and never a read outside the buffer.
// Names are matched without regard to case and with '\' taken as '/', as Windows paths are.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui_toolkit {

class CZipArchive {
 public:
  // Largest entry we inflate; a package entry is a layout or a skin picture, far below this.
  static constexpr std::uint32_t kMaxEntrySize = 64u << 20;

  CZipArchive() = default;
  CZipArchive(const CZipArchive&) = delete;
  CZipArchive& operator=(const CZipArchive&) = delete;
  CZipArchive(CZipArchive&&) = default;
  CZipArchive& operator=(CZipArchive&&) = default;

  // Takes the bytes and reads the central directory. False (and an empty archive) when it is not well formed.
  [[nodiscard]] bool Open(std::vector<std::uint8_t> bytes);
  // Same over memory that outlives the archive, such as a locked resource.
  [[nodiscard]] bool OpenView(std::span<const std::uint8_t> bytes);
  // Reads a whole file and opens it.
  [[nodiscard]] bool OpenFile(const std::wstring& path);

  [[nodiscard]] bool IsOpen() const { return open_; }
  [[nodiscard]] bool Contains(std::wstring_view name) const { return Find(name) != nullptr; }
  [[nodiscard]] std::vector<std::wstring> Names() const;
  // The entry's bytes; false when it is missing, damaged, encrypted or compressed otherwise than stored/deflate.
  [[nodiscard]] bool Read(std::wstring_view name, std::vector<std::uint8_t>& out) const;

 private:
  struct Entry {
    std::wstring name;
    std::wstring key;  // lower case, '/' separators
    std::uint16_t method = 0;
    std::uint16_t flags = 0;
    std::uint32_t crc = 0;
    std::uint32_t packed_size = 0;
    std::uint32_t size = 0;
    std::uint32_t local_offset = 0;
  };

  [[nodiscard]] bool ParseDirectory();
  [[nodiscard]] const Entry* Find(std::wstring_view name) const;
  void Clear();

  std::vector<std::uint8_t> owned_;
  std::span<const std::uint8_t> data_;
  std::vector<Entry> entries_;
  std::uint32_t directory_offset_ = 0;
  bool open_ = false;
};

// Lower case, '/' separators: the form names are compared in.
std::wstring ZipNameKey(std::wstring_view name);

}  // namespace ui_toolkit
