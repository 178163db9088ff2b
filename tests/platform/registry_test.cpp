// The per-user registry under Wine keeps DWORD and wide string values, and reports a missing value.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "basic_lib/scoped_handle.h"

namespace {

std::wstring TestKeyPath() {
  return L"Software\\VistromaTests\\registry-" + std::to_wstring(GetCurrentProcessId());
}

}  // namespace

TEST(Registry, ValuesRoundTripUnderCurrentUser) {
  const std::wstring path = TestKeyPath();
  basic_lib::ScopedRegKey key;
  {
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    key.reset(raw);
  }

  const DWORD number = 0xC0FFEE;
  ASSERT_EQ(RegSetValueExW(key.get(), L"number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number)),
            ERROR_SUCCESS);
  const std::wstring text = L"Vistroma.jpg 看图 ü";
  ASSERT_EQ(RegSetValueExW(key.get(), L"text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  key.reset();

  DWORD read_number = 0, size = sizeof(read_number);
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, path.c_str(), L"number", RRF_RT_REG_DWORD, nullptr, &read_number, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(read_number, number);

  wchar_t read_text[64] = {};
  size = sizeof(read_text);
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, path.c_str(), L"text", RRF_RT_REG_SZ, nullptr, read_text, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(read_text), text);

  size = sizeof(read_text);
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, path.c_str(), L"absent", RRF_RT_ANY, nullptr, read_text, &size),
            ERROR_FILE_NOT_FOUND);

  EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str()), ERROR_SUCCESS);
  HKEY gone = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &gone), ERROR_FILE_NOT_FOUND);
}
