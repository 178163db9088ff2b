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

namespace {

// Pixels of a width x height picture that draw paints into a memory DC, alpha forced opaque.
template <typename Draw>
Pixels CaptureWith(int width, int height, Draw draw) {
  Pixels out;
  out.width = width;
  out.height = height;
  if (width <= 0 || height <= 0) return out;
  BITMAPINFO bi = basic_lib::TopDownDibInfo(width, height);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, dib);
  draw(mem);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  out.data.assign(p, p + static_cast<size_t>(width) * height);
  for (std::uint32_t& px : out.data) px |= 0xFF000000u;
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(dib);
  return out;
}

}  // namespace

Pixels CaptureClient(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  return CaptureWith(client.right, client.bottom, [hwnd](HDC mem) {
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
  });
}

Pixels CaptureScreen(const RECT& area) {
  return CaptureWith(area.right - area.left, area.bottom - area.top, [&area](HDC mem) {
    HDC screen = GetDC(nullptr);
    BitBlt(mem, 0, 0, area.right - area.left, area.bottom - area.top, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
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
