// The shipped Vistroma.exe: a 64-bit GUI program that needs only system DLLs and carries its version and icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/test_paths.h"

namespace {

std::wstring ViewerPath() { return test_support::DistDirectory() + L"Vistroma.exe"; }

struct PeSummary {
  WORD machine = 0;
  WORD magic = 0;
  WORD subsystem = 0;
  std::vector<std::string> imports;
};

// Reads the headers and the import directory, checking every offset against the file size.
std::optional<PeSummary> ReadPe(const std::vector<char>& file) {
  const auto fits = [&](size_t offset, size_t size) { return offset <= file.size() && size <= file.size() - offset; };
  if (!fits(0, sizeof(IMAGE_DOS_HEADER))) return std::nullopt;
  IMAGE_DOS_HEADER dos;
  std::memcpy(&dos, file.data(), sizeof(dos));
  if (dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0) return std::nullopt;
  const size_t nt_at = static_cast<size_t>(dos.e_lfanew);
  if (!fits(nt_at, sizeof(IMAGE_NT_HEADERS64))) return std::nullopt;
  IMAGE_NT_HEADERS64 nt;
  std::memcpy(&nt, file.data() + nt_at, sizeof(nt));
  if (nt.Signature != IMAGE_NT_SIGNATURE) return std::nullopt;

  PeSummary pe;
  pe.machine = nt.FileHeader.Machine;
  pe.magic = nt.OptionalHeader.Magic;
  pe.subsystem = nt.OptionalHeader.Subsystem;
  if (pe.magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) return pe;

  const size_t sections_at = nt_at + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) + nt.FileHeader.SizeOfOptionalHeader;
  std::vector<IMAGE_SECTION_HEADER> sections(nt.FileHeader.NumberOfSections);
  if (!fits(sections_at, sections.size() * sizeof(IMAGE_SECTION_HEADER))) return std::nullopt;
  std::memcpy(sections.data(), file.data() + sections_at, sections.size() * sizeof(IMAGE_SECTION_HEADER));
  const auto file_offset = [&](DWORD rva) -> std::optional<size_t> {
    for (const auto& s : sections)
      if (rva >= s.VirtualAddress && rva - s.VirtualAddress < std::max(s.Misc.VirtualSize, s.SizeOfRawData))
        return size_t{s.PointerToRawData} + (rva - s.VirtualAddress);
    return std::nullopt;
  };

  const IMAGE_DATA_DIRECTORY dir = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (dir.VirtualAddress == 0) return pe;
  auto at = file_offset(dir.VirtualAddress);
  for (; at && fits(*at, sizeof(IMAGE_IMPORT_DESCRIPTOR)); *at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    IMAGE_IMPORT_DESCRIPTOR desc;
    std::memcpy(&desc, file.data() + *at, sizeof(desc));
    if (desc.Name == 0) return pe;
    const auto name_at = file_offset(desc.Name);
    if (!name_at || !fits(*name_at, 1)) return std::nullopt;
    const char* begin = file.data() + *name_at;
    const char* end = std::find(begin, file.data() + file.size(), '\0');
    pe.imports.emplace_back(begin, end);
  }
  return std::nullopt;
}

std::vector<char> ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

}  // namespace

TEST(ViewerExecutable, IsA64BitGuiProgramImportingSystemDllsOnly) {
  const std::vector<char> file = ReadFile(ViewerPath());
  ASSERT_FALSE(file.empty()) << "Vistroma.exe not found in the dist folder";
  const auto pe = ReadPe(file);
  ASSERT_TRUE(pe.has_value()) << "malformed PE headers";
  EXPECT_EQ(pe->machine, IMAGE_FILE_MACHINE_AMD64);
  EXPECT_EQ(pe->magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
  EXPECT_EQ(pe->subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
  ASSERT_FALSE(pe->imports.empty());

  wchar_t system_dir[MAX_PATH];
  ASSERT_GT(GetSystemDirectoryW(system_dir, MAX_PATH), 0u);
  for (const std::string& dll : pe->imports) {
    std::string lower = dll;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    // The mingw runtime and zlib must be linked in, never shipped beside the program.
    EXPECT_NE(lower.rfind("lib", 0), 0u) << dll;
    EXPECT_NE(lower, "zlib1.dll");
    const std::wstring in_system = std::wstring(system_dir) + L"\\" + Widen(dll);
    EXPECT_NE(GetFileAttributesW(in_system.c_str()), INVALID_FILE_ATTRIBUTES) << dll << " is not a system DLL";
  }
}

TEST(ViewerExecutable, VersionResourceReadsBack) {
  const std::wstring path = ViewerPath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
  ASSERT_GE(len, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), VISTROMA_VERSION_MAJOR);
  EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), VISTROMA_VERSION_MINOR);
  EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), VISTROMA_VERSION_PATCH);
  EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), VISTROMA_VERSION_TWEAK);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  wchar_t* product = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\040904b0\\ProductName",
                             reinterpret_cast<void**>(&product), &len));
  EXPECT_STREQ(product, L"Vistroma");
}

TEST(ViewerExecutable, CarriesApplicationIconWithLargeFrame) {
  HMODULE module = LoadLibraryExW(ViewerPath().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(128), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const DWORD bytes = SizeofResource(module, group);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  ASSERT_NE(data, nullptr);
  ASSERT_GE(bytes, 6u);
  // GRPICONDIR: reserved, type 1, count, then 14-byte entries whose first byte is the width (0 means 256).
  const WORD count = *reinterpret_cast<const WORD*>(data + 4);
  ASSERT_GE(bytes, 6u + count * 14u);
  std::vector<int> widths;
  for (WORD i = 0; i < count; ++i) widths.push_back(data[6 + i * 14] == 0 ? 256 : data[6 + i * 14]);
  for (int want : {16, 32, 48, 256})
    EXPECT_NE(std::find(widths.begin(), widths.end(), want), widths.end()) << "no " << want << " px frame";
  FreeLibrary(module);
}
