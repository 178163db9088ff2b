#include "image/jpeg_source.h"

#include <turbojpeg.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "basic_lib/com_object.h"
#include "image/jpeg_markers.h"

namespace image {
namespace {

// An interface id of our own, by which a source made here is recognised again.
const GUID IID_JpegSourceSelf = {0x6b4f8a1e, 0x0c3d, 0x4f5a, {0x9e, 0x2b, 0x71, 0xd4, 0x3a, 0x58, 0xc0, 0x11}};

tjhandle Decompressor() {
  // One per thread, freed with the thread.
  struct Holder {
    tjhandle handle = tjInitDecompress();
    ~Holder() {
      if (handle) tjDestroy(handle);
    }
  };
  thread_local Holder holder;
  return holder.handle;
}

// The factors 1/8, 1/4, 1/2, 1/1: the only ones with SIMD paths.
constexpr int kDenominators[] = {8, 4, 2, 1};

class JpegBitmapSource final : public basic_lib::CComObject<IWICBitmapSource> {
 public:
  explicit JpegBitmapSource(std::shared_ptr<const CJpegImage> jpeg) : jpeg_(std::move(jpeg)) {}

  HRESULT STDMETHODCALLTYPE GetSize(UINT* w, UINT* h) override {
    if (!w || !h) return E_INVALIDARG;
    *w = static_cast<UINT>(jpeg_->width());
    *h = static_cast<UINT>(jpeg_->height());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* format) override {
    if (!format) return E_INVALIDARG;
    *format = GUID_WICPixelFormat32bppBGRA;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetResolution(double* x, double* y) override {
    if (!x || !y) return E_INVALIDARG;
    *x = *y = JpegResolution(jpeg_->bytes());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette*) override { return WINCODEC_ERR_PALETTEUNAVAILABLE; }
  HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT stride, UINT size, BYTE* buffer) override {
    const WICRect all{0, 0, jpeg_->width(), jpeg_->height()};
    const WICRect r = rect ? *rect : all;
    if (!buffer || r.X < 0 || r.Y < 0 || r.Width < 0 || r.Height < 0 || r.X + r.Width > all.Width ||
        r.Y + r.Height > all.Height)
      return E_INVALIDARG;
    if (stride < static_cast<UINT>(r.Width) * 4 ||
        (r.Height > 0 && static_cast<unsigned long long>(stride) * (r.Height - 1) + r.Width * 4ull > size))
      return WINCODEC_ERR_INSUFFICIENTBUFFER;
    std::lock_guard<std::mutex> hold(lock_);
    if (full_.empty() && !jpeg_->Decode(0, 0, full_)) return WINCODEC_ERR_BADIMAGE;
    for (int y = 0; y < r.Height; ++y)
      std::memcpy(buffer + static_cast<size_t>(y) * stride, full_.Row(r.Y + y) + r.X, static_cast<size_t>(r.Width) * 4);
    return S_OK;
  }
  [[nodiscard]] std::shared_ptr<const CJpegImage> jpeg() const { return jpeg_; }

 protected:
  bool Supports(REFIID iid) const override { return iid == IID_IWICBitmapSource || iid == IID_JpegSourceSelf; }

 private:
  std::shared_ptr<const CJpegImage> jpeg_;
  std::mutex lock_;
  BgraBuffer full_;
};

}  // namespace

std::shared_ptr<CJpegImage> CJpegImage::Open(std::vector<std::uint8_t> bytes) {
  if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return nullptr;
  tjhandle tj = Decompressor();
  int w = 0, h = 0, subsampling = 0, colourspace = 0;
  if (!tj || tjDecompressHeader3(tj, bytes.data(), static_cast<unsigned long>(bytes.size()), &w, &h, &subsampling,
                                 &colourspace) != 0 ||
      w <= 0 || h <= 0)
    return nullptr;
  std::shared_ptr<CJpegImage> jpeg(new CJpegImage);
  jpeg->bytes_ = std::move(bytes);
  jpeg->width_ = w;
  jpeg->height_ = h;
  return jpeg;
}

void CJpegImage::ScaledSize(int min_width, int min_height, int& width, int& height) const {
  width = width_;
  height = height_;
  if (min_width <= 0 && min_height <= 0) return;  // the whole picture
  // A scale that falls a little short is still taken: enlarging by up to a tenth loses less than decoding
  // four times the pixels costs, and the 1/8-step scales are the only fast ones.
  for (int denominator : kDenominators) {
    width = (width_ + denominator - 1) / denominator;
    height = (height_ + denominator - 1) / denominator;
    if (width * 10 >= min_width * 9 && height * 10 >= min_height * 9) return;
  }
}

bool CJpegImage::Decode(int min_width, int min_height, BgraBuffer& out) const {
  int w = width_, h = height_;
  ScaledSize(min_width, min_height, w, h);
  // Past this no display needs the pixels, and a forged header must not make us allocate them.
  if (static_cast<unsigned long long>(w) * static_cast<unsigned long long>(h) > (1ull << 29)) return false;
  out.Resize(w, h);
  return DecodeInto(min_width, min_height, reinterpret_cast<std::uint8_t*>(out.pixels.data()), w * 4);
}

bool CJpegImage::DecodeInto(int min_width, int min_height, std::uint8_t* pixels, int pitch) const {
  int w = width_, h = height_;
  ScaledSize(min_width, min_height, w, h);
  tjhandle tj = Decompressor();
  if (!tj || !pixels || pitch < w * 4) return false;
  const int rc = tjDecompress2(tj, bytes_.data(), static_cast<unsigned long>(bytes_.size()), pixels, w, pitch, h,
                               TJPF_BGRA, 0);
  // A warning (a stream cut short, a bad marker) still leaves the rows that decoded.
  return rc == 0 || tjGetErrorCode(tj) == TJERR_WARNING;
}

Microsoft::WRL::ComPtr<IWICBitmapSource> MakeJpegBitmapSource(std::shared_ptr<const CJpegImage> jpeg) {
  Microsoft::WRL::ComPtr<IWICBitmapSource> source;
  if (jpeg) source.Attach(new JpegBitmapSource(std::move(jpeg)));
  return source;
}

std::shared_ptr<const CJpegImage> JpegBehind(IWICBitmapSource* source) {
  if (!source) return nullptr;
  Microsoft::WRL::ComPtr<IUnknown> self;
  if (FAILED(source->QueryInterface(IID_JpegSourceSelf, reinterpret_cast<void**>(self.GetAddressOf())))) return nullptr;
  return static_cast<JpegBitmapSource*>(static_cast<IWICBitmapSource*>(self.Get()))->jpeg();
}

}  // namespace image
