#include "ui_toolkit/toolkit.h"

namespace ui_toolkit {

CToolkit& CToolkit::Get() {
  static CToolkit toolkit;
  return toolkit;
}

bool CToolkit::Initialise(HINSTANCE instance, const std::wstring& resource_folder, const std::wstring& package_name) {
  instance_ = instance;
  pictures_.clear();
  std::wstring path = resource_folder;
  if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
  return package_.OpenFile(path + package_name);
}

bool CToolkit::UsePackage(std::vector<std::uint8_t> bytes) {
  pictures_.clear();
  return package_.Open(std::move(bytes));
}

void CToolkit::Shutdown() {
  pictures_.clear();
  package_ = CZipArchive{};
  embedded_ = CZipArchive{};
  embedded_tried_ = false;
}

CZipArchive& CToolkit::Archive(PackageSource source) {
  if (source == PackageSource::kResourcePackage) return package_;
  if (!embedded_tried_) {
    embedded_tried_ = true;
    HMODULE module = instance();
    if (HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(kEmbeddedArchiveId), kEmbeddedArchiveType)) {
      const DWORD size = SizeofResource(module, res);
      if (const void* data = LockResource(LoadResource(module, res)); data && size)
        (void)embedded_.OpenView({static_cast<const std::uint8_t*>(data), size});
    }
  }
  return embedded_;
}

bool CToolkit::LoadLayout(const std::wstring& file, PackageSource source, LayoutDocument& out) {
  std::vector<std::uint8_t> bytes;
  return Archive(source).Read(file, bytes) && ParseLayout(bytes, out);
}

const CPicture* CToolkit::Picture(const std::wstring& file, PackageSource source) {
  if (file.empty()) return nullptr;
  const std::wstring key = (source == PackageSource::kEmbedded ? L"e:" : L"p:") + ZipNameKey(file);
  auto it = pictures_.find(key);
  if (it == pictures_.end()) {
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<CPicture> picture;
    if (Archive(source).Read(file, bytes)) picture = CPicture::Decode(bytes);
    it = pictures_.emplace(key, std::move(picture)).first;
  }
  return it->second.get();
}

}  // namespace ui_toolkit
