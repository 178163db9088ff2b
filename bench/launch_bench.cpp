// Launch benchmark, Windows side: starts the real Vistroma.exe on a picture and times, from the process
// start, until the middle of its view shows the picture on the display; then, with the neighbour given
// time to preload, times "next" (the Right key) until the neighbour is on the display. Repeats and
// prints medians in ms:
//   launch <ms>
//   next <ms>
// Usage: launch_bench.exe <Vistroma.exe> <first picture> <neighbour's file name> <runs>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kMainClass[] = L"VistromaMainFrameClass-b1f78b3cc4bd764c";

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Search {
  DWORD pid;
  HWND found;
};

HWND FindMain(DWORD pid) {
  Search s{pid, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        wchar_t name[64] = {};
        if (owner != s->pid || !IsWindowVisible(hwnd) || !GetClassNameW(hwnd, name, 64) || wcscmp(name, kMainClass))
          return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// The screen colour at the middle of the view, 0xRRGGBB; -1 while there is no view.
long long MiddleColour(HWND main) {
  HWND view = GetDlgItem(main, 101);
  if (!view) return -1;
  RECT r{};
  GetClientRect(view, &r);
  POINT middle{r.right / 2, r.bottom / 2};
  ClientToScreen(view, &middle);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, middle.x, middle.y);
  ReleaseDC(nullptr, screen);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// A picture's pixel: not the canvas, the loading sprite, nor the black of a window not painted yet.
bool IsPicture(long long rgb) {
  if (rgb < 0) return false;
  const int r = static_cast<int>(rgb >> 16) & 0xFF, g = static_cast<int>(rgb >> 8) & 0xFF, b = static_cast<int>(rgb) & 0xFF;
  const auto close_to = [](int v, int target) { return std::abs(v - target) <= 6; };
  if (close_to(r, 0x27) && close_to(g, 0x27) && close_to(b, 0x27)) return false;
  if (r + g + b < 12) return false;
  return !(r > 200 && g > 80 && g < 190 && b < 100);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1.0 : v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5) return 2;
  const std::wstring exe = argv[1], picture = argv[2], neighbour = argv[3];
  const int runs = std::max(1, _wtoi(argv[4]));
  int stuck = 0;
  std::vector<double> launches, nexts;
  for (int run = 0; run < runs; ++run) {
    std::wstring line = L"\"" + exe + L"\" \"" + picture + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;  // nothing of ours: the script reading our output must not wait for it
    PROCESS_INFORMATION pi{};
    const double start = Now();
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 3;
    HWND main = nullptr;
    while (Now() - start < 30000) {
      if (!main) main = FindMain(pi.dwProcessId);
      if (main && IsPicture(MiddleColour(main))) break;
      Sleep(1);
    }
    launches.push_back(Now() - start);

    Sleep(3000);  // the neighbour's preload runs once the first picture is on screen
    HWND view = GetDlgItem(main, 101);
    const double pressed = Now();
    PostMessageW(view, WM_KEYDOWN, VK_RIGHT, 1);
    PostMessageW(view, WM_KEYUP, VK_RIGHT, 0xC0000001);
    // The neighbour is on the display once the title names it and the middle shows a picture again.
    while (Now() - pressed < 30000) {
      wchar_t title[512] = {};
      DWORD_PTR got = 0;
      SendMessageTimeoutW(main, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(title), SMTO_ABORTIFHUNG, 1000, &got);
      if (wcsstr(title, neighbour.c_str()) && IsPicture(MiddleColour(main))) break;
      Sleep(1);
    }
    nexts.push_back(Now() - pressed);

    PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
      ++stuck;
      TerminateProcess(pi.hProcess, 1);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  std::printf("launch %.1f\nnext %.1f\nstuck %d\n", Median(launches), Median(nexts), stuck);
  return 0;
}
