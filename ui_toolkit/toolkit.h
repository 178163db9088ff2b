#pragma once
// The toolkit's process-wide state: the module, the layout package "<exe folder>\resources\res.zip",
// the archive embedded in the program (resource "ZIPRES" 161), and the decoded pictures of both.
// UI thread only.
#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "ui_toolkit/layout_document.h"
#include "ui_toolkit/picture.h"
#include "ui_toolkit/zip_archive.h"

namespace ui_toolkit {

// Where a layout and its pictures are read from.
enum class PackageSource { kResourcePackage, kEmbedded };

inline constexpr int kEmbeddedArchiveId = 161;
inline constexpr wchar_t kEmbeddedArchiveType[] = L"ZIPRES";

class CToolkit {
 public:
  static CToolkit& Get();

  // Opens resource_folder\package_name. False when the folder or the package is missing or unreadable;
  // the embedded archive stays usable either way.
  [[nodiscard]] bool Initialise(HINSTANCE instance, const std::wstring& resource_folder,
                                const std::wstring& package_name);
  // For tests: serve a package from memory.
  [[nodiscard]] bool UsePackage(std::vector<std::uint8_t> bytes);
  void Shutdown();

  // The module given to Initialise, or the program itself before that.
  [[nodiscard]] HINSTANCE instance() const { return instance_ ? instance_ : GetModuleHandleW(nullptr); }
  [[nodiscard]] bool HasPackage() const { return package_.IsOpen(); }

  [[nodiscard]] bool Contains(const std::wstring& file, PackageSource source) { return Archive(source).Contains(file); }
  [[nodiscard]] bool LoadLayout(const std::wstring& file, PackageSource source, LayoutDocument& out);
  // The decoded picture of a package file, cached; null when it is missing or not a picture.
  [[nodiscard]] const CPicture* Picture(const std::wstring& file, PackageSource source);

 private:
  CToolkit() = default;
  CZipArchive& Archive(PackageSource source);

  HINSTANCE instance_ = nullptr;
  CZipArchive package_;
  CZipArchive embedded_;
  bool embedded_tried_ = false;
  std::map<std::wstring, std::unique_ptr<CPicture>> pictures_;  // key: source + lower-case name; null = failed
};

}  // namespace ui_toolkit
