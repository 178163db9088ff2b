#include "image/image_loader.h"

#include <shlwapi.h>
#include <versionhelpers.h>

#include <cstring>

#include "basic_lib/gdiplus.h"
#include "basic_lib/scoped_handle.h"
#include "basic_lib/shared_file_stream.h"
#include "image/colour_transform.h"
#include "image/enhancement.h"
#include "image/jpeg_markers.h"
#include "image/jpeg_source.h"
#include "image/obj_image.h"
#include "image/orientation.h"
#include "image/resample.h"
#include "image/wic_factory.h"

namespace image {
namespace {

using Microsoft::WRL::ComPtr;

// Past this many pixels a picture is not held whole (about 2 GiB of BGRA).
constexpr unsigned long long kMaxPixels = 1ull << 29;

std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path) {
  basic_lib::ScopedFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > (1ll << 31)) return {};
  std::vector<std::uint8_t> bytes(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return {};
  bytes.resize(read);
  return bytes;
}

bool SourceHasSize(const CWICImageLoader& loader) {
  UINT w = 0, h = 0;
  return loader.source && SUCCEEDED(loader.source->GetSize(&w, &h)) && w > 0 && h > 0;
}

void ApplyOrientationPolicy(CWICImageLoader& loader, const OpenOptions& options) {
  loader.info.orientation = OrientationPolicy(loader.info.orientation, IsWindows8OrGreater(), options.orientation_by_tag);
}

std::shared_ptr<CWICImageLoader> OpenJpeg(const std::wstring& path, const OpenOptions& options) {
  std::vector<std::uint8_t> bytes = ReadWholeFile(path);
  auto jpeg = CJpegImage::Open(std::move(bytes));
  if (!jpeg) return nullptr;
  auto loader = std::make_shared<CWICImageLoader>();
  loader->source = MakeJpegBitmapSource(jpeg);
  loader->colour_context = JpegIccProfile(jpeg->bytes());
  ExifBlock block;
  if (const auto tiff = FindJpegExif(jpeg->bytes())) (void)ParseExif(*tiff, block);
  const auto exif = MakeParsedExifSource(std::move(block));
  ReadExifInfo(loader->info, exif.get(), JpegResolution(jpeg->bytes()));
  ApplyOrientationPolicy(*loader, options);
  return loader;
}

std::shared_ptr<CWICImageLoader> OpenWithWic(const std::wstring& path, const OpenOptions& options) {
  IWICImagingFactory* factory = ImagingFactory();
  if (!factory) return nullptr;
  ComPtr<IStream> stream;
  // Others may rename or delete the file while it is shown.
  if (FAILED(basic_lib::CreateSharedReadStream(path, &stream))) return nullptr;
  auto loader = std::make_shared<CWICImageLoader>();
  if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &loader->decoder)))
    return nullptr;
  GUID container{};
  loader->decoder->GetContainerFormat(&container);
  // Wine's own TGA decoder (a container Windows does not have) gets colour-mapped pictures wrong; the
  // FreeImage.dll decoder reads them, as it does on Windows.
  static constexpr GUID kWineTgaContainer = {0x0c44fda1, 0xa5c5, 0x4298, {0x96, 0x85, 0x47, 0x3f, 0xc1, 0x7c, 0xd3, 0x22}};
  if (container == kWineTgaContainer) return nullptr;
  UINT frames = 0;
  loader->decoder->GetFrameCount(&frames);
  UINT chosen = 0;
  if (container == GUID_ContainerFormatIco) {
    // The widest frame of an icon; the first of equals.
    UINT widest = 0;
    for (UINT i = 0; i < frames; ++i) {
      ComPtr<IWICBitmapFrameDecode> frame;
      UINT w = 0, h = 0;
      if (SUCCEEDED(loader->decoder->GetFrame(i, &frame)) && SUCCEEDED(frame->GetSize(&w, &h)) && w > widest) {
        widest = w;
        chosen = i;
      }
    }
  }
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(loader->decoder->GetFrame(chosen, &frame))) return nullptr;
  UINT contexts = 0;
  if (SUCCEEDED(frame->GetColorContexts(0, nullptr, &contexts)) && contexts > 0) {
    ComPtr<IWICColorContext> context;
    IWICColorContext* raw = nullptr;
    UINT got = 0;
    if (SUCCEEDED(factory->CreateColorContext(&context)) && (raw = context.Get()) &&
        SUCCEEDED(frame->GetColorContexts(1, &raw, &got)) && got == 1) {
      WICColorContextType type{};
      UINT size = 0;
      if (SUCCEEDED(context->GetType(&type)) && type == WICColorContextProfile &&
          SUCCEEDED(context->GetProfileBytes(0, nullptr, &size)) && size > 0) {
        loader->colour_context.resize(size);
        if (FAILED(context->GetProfileBytes(size, loader->colour_context.data(), &size))) loader->colour_context.clear();
      }
    }
  }
  loader->source = frame;
  ReadExifInfo(loader->info, frame.Get(), ReadFileHead(path));
  ApplyOrientationPolicy(*loader, options);
  return SourceHasSize(*loader) ? loader : nullptr;
}

// GDI+ reads metafiles as images, not bitmaps: they are played into a bitmap of their own size.
std::unique_ptr<Gdiplus::Bitmap> GdiplusBitmap(const std::wstring& path) {
  auto bitmap = std::make_unique<Gdiplus::Bitmap>(path.c_str());
  if (bitmap->GetLastStatus() == Gdiplus::Ok && bitmap->GetWidth() > 0) return bitmap;
  Gdiplus::Image picture(path.c_str());
  if (picture.GetLastStatus() != Gdiplus::Ok || picture.GetType() != Gdiplus::ImageTypeMetafile) return nullptr;
  const UINT w = picture.GetWidth(), h = picture.GetHeight();
  if (w == 0 || h == 0 || w > 16384 || h > 16384) return nullptr;
  bitmap = std::make_unique<Gdiplus::Bitmap>(static_cast<INT>(w), static_cast<INT>(h), PixelFormat32bppARGB);
  if (bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
  Gdiplus::Graphics g(bitmap.get());
  g.Clear(Gdiplus::Color(255, 255, 255, 255));
  g.DrawImage(&picture, 0, 0, static_cast<INT>(w), static_cast<INT>(h));
  return bitmap;
}

std::shared_ptr<CWICImageLoader> OpenWithGdiplus(const std::wstring& path) {
  IWICImagingFactory* factory = ImagingFactory();
  if (!factory) return nullptr;
  const std::unique_ptr<Gdiplus::Bitmap> bitmap = GdiplusBitmap(path);
  if (!bitmap) return nullptr;
  const UINT w = bitmap->GetWidth(), h = bitmap->GetHeight();
  if (w == 0 || h == 0 || static_cast<unsigned long long>(w) * h > kMaxPixels) return nullptr;
  Gdiplus::BitmapData data{};
  Gdiplus::Rect all(0, 0, static_cast<INT>(w), static_cast<INT>(h));
  if (bitmap->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) return nullptr;
  ComPtr<IWICBitmap> copy;
  const HRESULT made = factory->CreateBitmapFromMemory(w, h, GUID_WICPixelFormat32bppBGRA, static_cast<UINT>(data.Stride),
                                                       static_cast<UINT>(data.Stride) * h,
                                                       static_cast<BYTE*>(data.Scan0), &copy);
  bitmap->UnlockBits(&data);
  if (FAILED(made)) return nullptr;
  auto loader = std::make_shared<CWICImageLoader>();
  loader->source = copy;
  return loader;
}

std::wstring ProgramFolder() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::shared_ptr<CWICImageLoader> OpenWithFreeImage(const std::wstring& path, const OpenOptions& options) {
  std::wstring folder = options.freeimage_folder.empty() ? ProgramFolder() : options.freeimage_folder;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  const std::wstring library = folder + L"FreeImage.dll";
  if (!PathFileExistsW(library.c_str())) return nullptr;
  HMODULE module = LoadLibraryW(library.c_str());
  if (!module) return nullptr;
  std::shared_ptr<CWICImageLoader> loader;
  using LoadImageFn = IUnknown*(__cdecl*)(const wchar_t*, IWICImagingFactory*);
  if (auto load = reinterpret_cast<LoadImageFn>(reinterpret_cast<void*>(GetProcAddress(module, "load_image")))) {
    if (IUnknown* object = load(path.c_str(), ImagingFactory())) {
      ComPtr<IWICBitmapSource> source;
      if (SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&source)))) {
        loader = std::make_shared<CWICImageLoader>();
        loader->source = source;
      }
      object->Release();
    }
  }
  FreeLibrary(module);
  return loader && SourceHasSize(*loader) ? loader : nullptr;
}

bool IsJpegFile(const std::wstring& path) {
  const std::vector<std::uint8_t> head = ReadFileHead(path, 3);
  return head.size() == 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
}

}  // namespace

bool ReadSourcePixels(IWICBitmapSource* source, BgraBuffer& out) {
  if (!source) return false;
  ComPtr<IWICBitmapSource> converted;
  if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, source, &converted))) return false;
  UINT w = 0, h = 0;
  if (FAILED(converted->GetSize(&w, &h)) || w == 0 || h == 0 || static_cast<unsigned long long>(w) * h > kMaxPixels)
    return false;
  out.Resize(static_cast<int>(w), static_cast<int>(h));
  return SUCCEEDED(converted->CopyPixels(nullptr, w * 4, w * 4 * h, reinterpret_cast<BYTE*>(out.pixels.data())));
}

ComPtr<IWICBitmap> MakeWicBitmap(const BgraBuffer& pixels) {
  ComPtr<IWICBitmap> bitmap;
  IWICImagingFactory* factory = ImagingFactory();
  if (!factory || pixels.empty()) return bitmap;
  const UINT stride = static_cast<UINT>(pixels.width) * 4;
  factory->CreateBitmapFromMemory(static_cast<UINT>(pixels.width), static_cast<UINT>(pixels.height),
                                  GUID_WICPixelFormat32bppBGRA, stride, stride * static_cast<UINT>(pixels.height),
                                  reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels.pixels.data())), &bitmap);
  return bitmap;
}

bool CWICImageLoader::FullPixels(BgraBuffer& out) const {
  std::lock_guard<std::mutex> hold(lock_);
  if (full_.empty()) {
    const auto jpeg = JpegBehind(source.Get());
    if (!(jpeg ? jpeg->Decode(0, 0, full_) : ReadSourcePixels(source.Get(), full_))) {
      full_ = {};
      return false;
    }
  }
  out = full_;
  return true;
}

std::shared_ptr<CWICImageLoader> OpenImageFile(const std::wstring& path, const OpenOptions& options) {
  std::shared_ptr<CWICImageLoader> loader;
  if (IsJpegFile(path)) loader = OpenJpeg(path, options);
  if (!loader) loader = OpenWithWic(path, options);
  if (!loader) loader = OpenWithGdiplus(path);
  if (!loader) loader = OpenWithFreeImage(path, options);
  return loader;
}

std::pair<int, int> GetOrientedSize(const CWICImageLoader* loader) {
  UINT w = 0, h = 0;
  if (!loader || !loader->source || FAILED(loader->source->GetSize(&w, &h))) return {0, 0};
  if (TransformTurns(OrientationToTransform(loader->info.orientation))) std::swap(w, h);
  return {static_cast<int>(w), static_cast<int>(h)};
}

bool DecodeToPixels(const CWICImageLoader& loader, int width, int height, bool colour_manage, BgraBuffer& out) {
  if (width <= 0 || height <= 0 || !loader.source) return false;
  const std::uint32_t transform = OrientationToTransform(loader.info.orientation);
  if (TransformTurns(transform)) std::swap(width, height);
  // No more pixels decoded than the target needs: a JPEG at the DCT scale covering it.
  thread_local BgraBuffer decoded;
  const auto jpeg = JpegBehind(loader.source.Get());
  if (!(jpeg ? jpeg->Decode(width, height, decoded) : loader.FullPixels(decoded))) return false;
  BgraBuffer sized;
  if (decoded.width != width || decoded.height != height) {
    if (!Resample(decoded, width, height, ResampleFilter::kArea, sized)) return false;
  } else {
    sized = decoded;
  }
  if (colour_manage && !loader.colour_context.empty())
    (void)TransformColours(loader.colour_context, ColourDirection::kToSrgb, sized);
  if (transform) ApplyTransform(sized, transform, sized);
  out = std::move(sized);
  return true;
}

bool ComposePixels(const BgraBuffer& pixels, HBRUSH background, HBITMAP& bitmap) {
  FCObjImage image;
  if (!image.CreatePremultiplied(pixels)) return false;
  ApplyEnhancement(image);
  ComposeToBitmap(image, background, bitmap);
  return bitmap != nullptr;
}

bool DecodeToSize(const CWICImageLoader& loader, int width, int height, bool colour_manage, HBRUSH background,
                  HBITMAP& bitmap) {
  BgraBuffer pixels;
  return DecodeToPixels(loader, width, height, colour_manage, pixels) && ComposePixels(pixels, background, bitmap);
}

ComPtr<IWICBitmap> GetFullSource(const CWICImageLoader& loader, bool colour_manage) {
  const std::uint32_t transform = OrientationToTransform(loader.info.orientation);
  ComPtr<IWICBitmap> memory;
  WICPixelFormatGUID format{};
  // An in-memory 32bppBGRA bitmap (from a fallback) is used as it is.
  const bool in_memory = SUCCEEDED(loader.source.As(&memory)) && SUCCEEDED(memory->GetPixelFormat(&format)) &&
                         format == GUID_WICPixelFormat32bppBGRA;
  if (in_memory && !transform) return memory;
  const bool manage = !in_memory && colour_manage && !loader.colour_context.empty();
  const auto jpeg = JpegBehind(loader.source.Get());
  if (jpeg && !transform && !manage) {
    // Nothing to do to the pixels: straight from the decoder into the bitmap handed out.
    ComPtr<IWICBitmap> bitmap;
    IWICImagingFactory* factory = ImagingFactory();
    if (!factory || FAILED(factory->CreateBitmap(static_cast<UINT>(jpeg->width()), static_cast<UINT>(jpeg->height()),
                                                 GUID_WICPixelFormat32bppBGRA, WICBitmapCacheOnLoad, &bitmap)))
      return nullptr;
    ComPtr<IWICBitmapLock> lock;
    const WICRect all{0, 0, jpeg->width(), jpeg->height()};
    UINT stride = 0, size = 0;
    BYTE* data = nullptr;
    if (FAILED(bitmap->Lock(&all, WICBitmapLockWrite, &lock)) || FAILED(lock->GetStride(&stride)) ||
        FAILED(lock->GetDataPointer(&size, &data)) || !jpeg->DecodeInto(0, 0, data, static_cast<int>(stride)))
      return nullptr;
    return bitmap;
  }
  thread_local BgraBuffer pixels;
  if (in_memory ? !ReadSourcePixels(memory.Get(), pixels)
                : !(jpeg ? jpeg->Decode(0, 0, pixels) : loader.FullPixels(pixels)))
    return nullptr;
  if (manage) (void)TransformColours(loader.colour_context, ColourDirection::kToSrgb, pixels);
  if (transform) {
    BgraBuffer turned;
    ApplyTransform(pixels, transform, turned);
    return MakeWicBitmap(turned);
  }
  return MakeWicBitmap(pixels);
}

ComPtr<IWICBitmap> GetScaledSource(const CWICImageLoader& loader, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  const std::uint32_t transform = OrientationToTransform(loader.info.orientation);
  int w = width, h = height;
  if (TransformTurns(transform)) std::swap(w, h);
  BgraBuffer pixels, scaled;
  const auto jpeg = JpegBehind(loader.source.Get());
  if (!(jpeg ? jpeg->Decode(w, h, pixels) : loader.FullPixels(pixels))) return nullptr;
  if (!Resample(pixels, w, h, ResampleFilter::kCubic, scaled)) return nullptr;
  if (transform) ApplyTransform(scaled, transform, scaled);
  return MakeWicBitmap(scaled);
}

}  // namespace image
