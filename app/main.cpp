// Entry point of Vistroma.exe. For now it opens the borderless main frame on the dark canvas and runs
// its message loop; the application object, start-up and the picture view grow from here.
#include <windows.h>

#include "basic_lib/scoped_handle.h"
#include "resources/resource_ids.h"

namespace {

constexpr wchar_t kMainFrameClass[] = L"VistromaMainFrameClass-b1f78b3cc4bd764c";
constexpr wchar_t kMainFrameTitle[] = L"Vistroma";
constexpr COLORREF kCanvasColour = RGB(0x27, 0x27, 0x27);

LRESULT CALLBACK MainFrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) {
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

[[nodiscard]] bool RegisterMainFrameClass(HINSTANCE instance, HBRUSH canvas) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = MainFrameProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_ICON));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = canvas;
  wc.lpszClassName = kMainFrameClass;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  // The class keeps using the brush until the process ends, so it lives for all of wWinMain.
  basic_lib::ScopedBrush canvas(CreateSolidBrush(kCanvasColour));
  if (!RegisterMainFrameClass(instance, canvas.get())) return 1;

  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = (work.right - work.left) * 2 / 3;
  const int height = (work.bottom - work.top) * 4 / 5;
  HWND frame = CreateWindowExW(WS_EX_APPWINDOW, kMainFrameClass, kMainFrameTitle,
                               WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU,
                               work.left + (work.right - work.left - width) / 2,
                               work.top + (work.bottom - work.top - height) / 2, width, height, nullptr, nullptr,
                               instance, nullptr);
  if (!frame) return 1;
  ShowWindow(frame, show);
  UpdateWindow(frame);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
