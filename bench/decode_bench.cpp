// Times the viewer's decoding of one JPEG inside one process: the fitted frame (open + DecodeToPixels at
// the fit size) and the full source (open + GetFullSource), each the median of several runs after a
// warm-up, and writes the fitted frame as a PPM for the quality comparison.
//   decode_bench.exe picture.jpg fit_width fit_height fitted.ppm
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "image/image_loader.h"
#include "image/wic_factory.h"

namespace {

template <typename F>
double MedianMs(int runs, F&& f) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    if (!f()) return -1;
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

bool WritePpm(const wchar_t* path, const image::BgraBuffer& p) {
  FILE* f = _wfopen(path, L"wb");
  if (!f) return false;
  fprintf(f, "P6\n%d %d\n255\n", p.width, p.height);
  std::vector<unsigned char> row(static_cast<size_t>(p.width) * 3);
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      const std::uint32_t v = p.Row(y)[x];
      row[3 * x] = static_cast<unsigned char>(v >> 16);
      row[3 * x + 1] = static_cast<unsigned char>(v >> 8);
      row[3 * x + 2] = static_cast<unsigned char>(v);
    }
    fwrite(row.data(), 1, row.size(), f);
  }
  fclose(f);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5) return 2;
  const std::wstring path = argv[1];
  const int width = _wtoi(argv[2]), height = _wtoi(argv[3]);
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  image::CreateImagingFactory();
  image::BgraBuffer fitted;
  const auto fit = [&] {
    auto loader = image::OpenImageFile(path);
    return loader && image::DecodeToPixels(*loader, width, height, true, fitted);
  };
  const auto full = [&] {
    auto loader = image::OpenImageFile(path);
    return loader && image::GetFullSource(*loader, false) != nullptr;
  };
  fit();
  full();
  const double fit_ms = MedianMs(9, fit);
  const double full_ms = MedianMs(7, full);
  if (fit_ms < 0 || full_ms < 0 || !WritePpm(argv[4], fitted)) return 1;
  printf("fit %.1f\nfull %.1f\n", fit_ms, full_ms);
  image::ReleaseImagingFactory();
  CoUninitialize();
  return 0;
}
