#include "view_render/d2d_target.h"

#include <initializer_list>

namespace view_render {

ID2D1Factory* D2DFactory() {
  static Microsoft::WRL::ComPtr<ID2D1Factory> factory = [] {
    Microsoft::WRL::ComPtr<ID2D1Factory> made;
    D2D1_FACTORY_OPTIONS options{};
    if (FAILED(D2D1CreateFactory(D2D1_FACTORY_TYPE_MULTI_THREADED, __uuidof(ID2D1Factory), &options,
                                 reinterpret_cast<void**>(made.GetAddressOf()))))
      made.Reset();
    return made;
  }();
  return factory.Get();
}

Microsoft::WRL::ComPtr<ID2D1DCRenderTarget> CreateDcRenderTarget(bool hardware) {
  Microsoft::WRL::ComPtr<ID2D1DCRenderTarget> target;
  ID2D1Factory* factory = D2DFactory();
  if (!factory) return target;
  D2D1_RENDER_TARGET_PROPERTIES props{};
  props.pixelFormat = {DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED};
  for (D2D1_RENDER_TARGET_TYPE type : {hardware ? D2D1_RENDER_TARGET_TYPE_DEFAULT : D2D1_RENDER_TARGET_TYPE_SOFTWARE,
                                       D2D1_RENDER_TARGET_TYPE_SOFTWARE}) {
    props.type = type;
    if (SUCCEEDED(factory->CreateDCRenderTarget(&props, &target))) return target;
  }
  return nullptr;
}

}  // namespace view_render
