#pragma once
// Small file helpers for tests: whole files in and out, and empty files made.
#include <cstdint>
#include <string>
#include <vector>

namespace test_support {

[[nodiscard]] std::string ReadText(const std::wstring& path);  // the bytes as they are; empty when unreadable
[[nodiscard]] std::vector<std::uint8_t> ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
// An empty file; false when it cannot be made.
bool Touch(const std::wstring& path);

}  // namespace test_support
