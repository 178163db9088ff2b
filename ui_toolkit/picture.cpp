#include "ui_toolkit/picture.h"

#include <wincodec.h>
#include <wrl/client.h>

#include "basic_lib/dib_info.h"

using Microsoft::WRL::ComPtr;

namespace ui_toolkit {

std::unique_ptr<CPicture> CPicture::Create(int width, int height) {
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
  BITMAPINFO bi = basic_lib::TopDownDibInfo(width, height);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib) return nullptr;
  std::unique_ptr<CPicture> p(new CPicture);
  p->bitmap_.reset(dib);
  p->pixels_ = static_cast<std::uint32_t*>(bits);
  p->width_ = width;
  p->height_ = height;
  return p;
}

std::unique_ptr<CPicture> CPicture::Decode(std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return nullptr;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
    return nullptr;
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))))
    return nullptr;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)))
    return nullptr;
  UINT w = 0, h = 0;
  if (FAILED(converter->GetSize(&w, &h))) return nullptr;
  auto picture = Create(static_cast<int>(w), static_cast<int>(h));
  if (!picture) return nullptr;
  const UINT stride = w * 4;
  if (FAILED(converter->CopyPixels(nullptr, stride, stride * h, reinterpret_cast<BYTE*>(picture->pixels_))))
    return nullptr;
  return picture;
}

}  // namespace ui_toolkit
