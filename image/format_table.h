#pragma once
// The format table: what a file is, from its name alone, and the open and save filters of the file
// dialogs. Codes 1-5 are the containers the program writes (BMP, JPEG, GIF, TIFF, PNG), 6-15 pictures it
// only reads, 0 anything else.
#include <cstdint>
#include <string>
#include <string_view>

namespace image {

using ImageFileType = std::uint32_t;

inline constexpr ImageFileType IMG_UNKNOWN = 0, IMG_BMP = 1, IMG_JPG = 2, IMG_GIF = 3, IMG_TIF = 4, IMG_PNG = 5;

[[nodiscard]] ImageFileType ClassifyImagePath(std::wstring_view path);
[[nodiscard]] constexpr bool IsWritableType(ImageFileType t) { return t >= 1 && t <= 5; }

// The open dialog's single entry: "<caption> (*.*)|<89 patterns>||".
[[nodiscard]] std::wstring OpenFilter(const std::wstring& caption);
[[nodiscard]] const wchar_t* OpenFilterPatterns();
[[nodiscard]] const wchar_t* SaveAsFilter();
[[nodiscard]] std::wstring SaveAsExtensionForFilter(int filter_index);
// The typed path when it names a writable container, else the typed path with the filter's extension.
[[nodiscard]] std::wstring FinishSaveAsName(const std::wstring& typed, int filter_index);

}  // namespace image
