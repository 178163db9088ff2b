#pragma once
// Direct2D for the zoom frames: the process-wide multi-threaded factory and render targets that draw
// into a GDI device context. Null results where the platform offers none (no display, no driver).
#include <windows.h>
#include <d2d1.h>
#include <wrl/client.h>

namespace view_render {

[[nodiscard]] ID2D1Factory* D2DFactory();
// A DC render target, hardware when asked and available, else software; null when neither can be made.
[[nodiscard]] Microsoft::WRL::ComPtr<ID2D1DCRenderTarget> CreateDcRenderTarget(bool hardware);

}  // namespace view_render
