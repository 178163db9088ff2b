#include "image/wic_factory.h"

#include <wrl/client.h>

namespace image {
namespace {

Microsoft::WRL::ComPtr<IWICImagingFactory>& Factory() {
  static Microsoft::WRL::ComPtr<IWICImagingFactory> factory;
  return factory;
}

}  // namespace

void CreateImagingFactory() {
  Factory().Reset();
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&Factory()))))
    Factory().Reset();
}

void ReleaseImagingFactory() { Factory().Reset(); }

IWICImagingFactory* ImagingFactory() { return Factory().Get(); }

}  // namespace image
