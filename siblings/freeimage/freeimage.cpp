// FreeImage.dll as this installation ships it: the last decoder the viewer tries, for formats neither WIC
// nor GDI+ read. Its one export, load_image, returns the picture as a WIC bitmap made through the
// factory the viewer passes in, so the picture outlives this library once it is unloaded.
#include <windows.h>
#include <wincodec.h>

#include <cwctype>
#include <string>

#include "siblings/freeimage/decoder.h"

namespace freeimage {

namespace {

std::vector<Decoder>& Registry() {
  static std::vector<Decoder> decoders;
  return decoders;
}

std::vector<std::uint8_t> ReadFile(const wchar_t* path) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::vector<std::uint8_t> bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1ll << 30)) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) read = 0;
    bytes.resize(read);
  }
  CloseHandle(file);
  return bytes;
}

std::wstring Extension(const wchar_t* path) {
  std::wstring p = path;
  const size_t dot = p.find_last_of(L'.');
  const size_t slash = p.find_last_of(L"\\/");
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return {};
  std::wstring ext = p.substr(dot + 1);
  for (wchar_t& ch : ext) ch = static_cast<wchar_t>(std::towlower(ch));
  return ext;
}

}  // namespace

const std::vector<Decoder>& Decoders() { return Registry(); }

Registrar::Registrar(const Decoder& decoder) { Registry().push_back(decoder); }

}  // namespace freeimage

extern "C" __declspec(dllexport) IUnknown* __cdecl load_image(const wchar_t* path, IWICImagingFactory* factory) {
  if (!path || !factory) return nullptr;
  const std::vector<std::uint8_t> bytes = freeimage::ReadFile(path);
  if (bytes.empty()) return nullptr;
  const std::wstring extension = freeimage::Extension(path);
  for (const freeimage::Decoder& decoder : freeimage::Decoders()) {
    if (!decoder.knows(bytes, extension)) continue;
    freeimage::Picture picture;
    if (!decoder.decode(bytes, picture) || picture.bgra.empty()) return nullptr;
    IWICBitmap* bitmap = nullptr;
    const UINT stride = static_cast<UINT>(picture.width) * 4;
    if (FAILED(factory->CreateBitmapFromMemory(static_cast<UINT>(picture.width), static_cast<UINT>(picture.height),
                                               GUID_WICPixelFormat32bppBGRA, stride,
                                               stride * static_cast<UINT>(picture.height),
                                               reinterpret_cast<BYTE*>(picture.bgra.data()), &bitmap)))
      return nullptr;
    return bitmap;
  }
  return nullptr;
}
