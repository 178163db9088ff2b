#include "image/thumbnail_cache.h"

#include <algorithm>
#include <list>
#include <map>
#include <mutex>
#include <vector>

#include <wincodec.h>
#include <wrl/client.h>

#include "basic_lib/text_case.h"
#include "image/colour_transform.h"
#include "image/exif_parser.h"
#include "image/image_loader.h"
#include "image/orientation.h"
#include "image/resample.h"
#include "image/wic_factory.h"

namespace image {

struct CThumbnailCache::Impl {
  struct Entry {
    std::wstring key;
    std::shared_ptr<const BgraBuffer> bitmap;
  };
  std::mutex lock;
  std::list<Entry> order;  // most recent first
  std::map<std::wstring, std::list<Entry>::iterator> index;
  size_t bytes = 0;
  size_t budget = 256u << 20;
  size_t extractions = 0;

  std::shared_ptr<const BgraBuffer> Find(const std::wstring& key) {
    std::lock_guard<std::mutex> hold(lock);
    auto it = index.find(key);
    if (it == index.end()) return nullptr;
    order.splice(order.begin(), order, it->second);
    return it->second->bitmap;
  }
  void Store(const std::wstring& key, std::shared_ptr<const BgraBuffer> bitmap) {
    std::lock_guard<std::mutex> hold(lock);
    if (auto it = index.find(key); it != index.end()) {
      bytes -= it->second->bitmap->pixels.size() * 4;
      order.erase(it->second);
      index.erase(it);
    }
    bytes += bitmap->pixels.size() * 4;
    order.push_front({key, std::move(bitmap)});
    index[key] = order.begin();
    while (bytes > budget && order.size() > 1) {
      bytes -= order.back().bitmap->pixels.size() * 4;
      index.erase(order.back().key);
      order.pop_back();
    }
  }
};

namespace {

// Path (any case), size and last-write time: a changed file is a new entry.
bool KeyFor(const std::wstring& path, int size, std::wstring& key) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  key = basic_lib::ToLower(path) + L"|" + std::to_wstring(size) + L"|" +
        std::to_wstring((static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                        data.ftLastWriteTime.dwLowDateTime);
  return true;
}

// The picture upright and in sRGB with its longer side at most size, as the shell's thumbnails are.
std::shared_ptr<const BgraBuffer> Extract(const std::wstring& path, int size) {
  auto loader = OpenImageFile(path);
  const auto [w, h] = GetOrientedSize(loader.get());
  if (!loader || w <= 0 || h <= 0) return nullptr;
  const double scale = std::min(1.0, static_cast<double>(size) / std::max(w, h));
  const int tw = std::max(1, static_cast<int>(w * scale + 0.5)), th = std::max(1, static_cast<int>(h * scale + 0.5));
  auto out = std::make_shared<BgraBuffer>();
  if (!DecodeToPixels(*loader, tw, th, true, *out)) return nullptr;
  return out;
}

// What the shell's fast extraction gives: the thumbnail a JPEG carries in its EXIF block, upright, and
// nothing for any other file. Never a decode of the picture itself.
std::shared_ptr<const BgraBuffer> FastExtract(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  std::vector<std::uint8_t> head(70000);  // an APP1 segment is at most 64 KB, after SOI and perhaps APP0
  DWORD got = 0;
  const BOOL read = ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &got, nullptr);
  CloseHandle(file);
  if (!read) return nullptr;
  head.resize(got);
  const auto tiff = FindJpegExif(head);
  if (!tiff) return nullptr;
  const auto jpeg = FindExifThumbnail(*tiff);
  if (!jpeg) return nullptr;
  ExifBlock block;
  (void)ParseExif(*tiff, block);  // without a readable IFD0 the thumbnail counts as upright
  const ExifValue* orientation = block.Find(ExifIfd::kIfd0, 0x0112);

  IWICImagingFactory* factory = ImagingFactory();
  Microsoft::WRL::ComPtr<IWICStream> stream;
  Microsoft::WRL::ComPtr<IWICBitmapDecoder> decoder;
  Microsoft::WRL::ComPtr<IWICBitmapFrameDecode> frame;
  Microsoft::WRL::ComPtr<IWICFormatConverter> converter;
  UINT w = 0, h = 0;
  if (!factory || FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(jpeg->data()), static_cast<DWORD>(jpeg->size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&w, &h)) || w == 0 || h == 0 || w > 4096 || h > 4096)
    return nullptr;
  BgraBuffer stored;
  stored.Resize(static_cast<int>(w), static_cast<int>(h));
  if (FAILED(converter->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(stored.pixels.data()))))
    return nullptr;
  auto out = std::make_shared<BgraBuffer>();
  ApplyTransform(stored, OrientationToTransform(orientation ? orientation->low16 : 1), *out);
  return out;
}

}  // namespace

CThumbnailCache::CThumbnailCache() : impl_(std::make_shared<Impl>()) {}

CThumbnailCache& CThumbnailCache::Get() {
  static CThumbnailCache cache;
  return cache;
}

void CThumbnailCache::SetBudget(size_t bytes) {
  std::lock_guard<std::mutex> hold(impl_->lock);
  impl_->budget = bytes;
}

void CThumbnailCache::Clear() {
  std::lock_guard<std::mutex> hold(impl_->lock);
  impl_->order.clear();
  impl_->index.clear();
  impl_->bytes = 0;
}

size_t CThumbnailCache::bytes() const {
  std::lock_guard<std::mutex> hold(impl_->lock);
  return impl_->bytes;
}

size_t CThumbnailCache::extractions() const {
  std::lock_guard<std::mutex> hold(impl_->lock);
  return impl_->extractions;
}

CShellThumbnailRequest RequestShellThumbnail(const std::wstring& path, int requested_size, int mode) {
  CThumbnailCache::Impl& cache = *CThumbnailCache::Get().impl_;
  CShellThumbnailRequest request;
  const int size = mode == 1 ? requested_size
                   : mode == 0 && requested_size > kLargeThumbnail ? requested_size
                                                                    : kLargeThumbnail;
  std::wstring key;
  if (!KeyFor(path, size, key)) return request;
  request.bitmap = cache.Find(key);
  if (request.bitmap) return request;
  if (mode == 0) {
    // Nothing cached: what a fast extraction gives, never good enough for a fit frame.
    request.bitmap = FastExtract(path);
    request.low_quality = request.bitmap != nullptr;
    return request;
  }
  request.bitmap = Extract(path, size);
  if (request.bitmap) {
    {
      std::lock_guard<std::mutex> hold(cache.lock);
      ++cache.extractions;
    }
    cache.Store(key, request.bitmap);
  }
  return request;
}

bool ThumbnailToSize(const CShellThumbnailRequest& request, int width, int height, HBITMAP& bitmap,
                     const std::vector<std::uint8_t>* colour_context, HBRUSH background) {
  if (!request.bitmap || width <= 0 || height <= 0) return false;
  // The thumbnail is upright already, as the shell's are on Windows 8 and later.
  BgraBuffer sized;
  if (!Resample(*request.bitmap, width, height, ResampleFilter::kLinear, sized)) return false;
  if (colour_context && !colour_context->empty())
    (void)TransformColours(*colour_context, ColourDirection::kFromSrgb, sized);
  return ComposePixels(sized, background, bitmap);
}

}  // namespace image
