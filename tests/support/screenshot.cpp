#include "tests/support/screenshot.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <cstdlib>

#include "basic_lib/dib_info.h"

using Microsoft::WRL::ComPtr;

namespace test_support {

std::wstring ScreenshotPath(const std::wstring& file_name) {
  const wchar_t* folder = _wgetenv(L"VISTROMA_SCREENSHOTS");
  if (!folder || !*folder) return {};
  std::wstring path = folder;
  if (path.front() == L'/') path = L"Z:" + path;  // Wine maps the Unix root to Z:
  for (wchar_t& ch : path)
    if (ch == L'/') ch = L'\\';
  CreateDirectoryW(path.c_str(), nullptr);
  if (path.back() != L'\\') path += L'\\';
  return path + file_name;
}

Pixels CaptureClient(HWND hwnd) {
  Pixels out;
  RECT client{};
  GetClientRect(hwnd, &client);
  out.width = client.right;
  out.height = client.bottom;
  if (out.width <= 0 || out.height <= 0) return out;
  BITMAPINFO bi = basic_lib::TopDownDibInfo(out.width, out.height);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, dib);
  SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  out.data.assign(p, p + static_cast<size_t>(out.width) * out.height);
  for (std::uint32_t& px : out.data) px |= 0xFF000000u;
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(dib);
  return out;
}

Pixels CaptureScreen(const RECT& area) {
  Pixels out;
  out.width = area.right - area.left;
  out.height = area.bottom - area.top;
  if (out.width <= 0 || out.height <= 0) return out;
  BITMAPINFO bi = basic_lib::TopDownDibInfo(out.width, out.height);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, out.width, out.height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  out.data.assign(p, p + static_cast<size_t>(out.width) * out.height);
  for (std::uint32_t& px : out.data) px |= 0xFF000000u;
  SelectObject(mem, old);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  DeleteObject(dib);
  return out;
}

bool SavePng(const std::wstring& path, const Pixels& pixels) {
  if (path.empty() || pixels.width <= 0 || pixels.height <= 0) return false;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) ||
      FAILED(factory->CreateStream(&stream)) || FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
      FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
      FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(&frame, nullptr)) || FAILED(frame->Initialize(nullptr)) ||
      FAILED(frame->SetSize(static_cast<UINT>(pixels.width), static_cast<UINT>(pixels.height))))
    return false;
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat32bppBGRA) return false;
  const UINT stride = static_cast<UINT>(pixels.width) * 4;
  auto* data = reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels.data.data()));
  return SUCCEEDED(frame->WritePixels(static_cast<UINT>(pixels.height), stride, stride * pixels.height, data)) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace test_support
