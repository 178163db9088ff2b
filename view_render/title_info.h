#pragma once
// CTitleInfo: the facts in the main window's title (file name, size, megapixels, date taken, position
// in the folder, zoom) and the title made of them. The texts around the numbers come from the language
// pack, handed in by the owner. UI thread only.
#include <windows.h>

#include <functional>
#include <string>

namespace view_render {

struct TitleTexts {
  std::wstring key10, key11, key12, key13;  // megapixel words
  std::wstring key30, key31, key32;         // year, month, day
  std::wstring key40, key41;                // around the position
  bool chinese = false;                     // cn_simp.ini or cn_trad.ini
  bool cjk = false;                         // Chinese, ja.ini or ko.ini
};

[[nodiscard]] std::wstring MegapixelText(long long width, long long height, const TitleTexts& t);
[[nodiscard]] std::wstring DateText(const std::wstring& exif_date, const TitleTexts& t);
[[nodiscard]] std::wstring PositionText(int index, int count, const TitleTexts& t);
[[nodiscard]] std::wstring ComposeTitle(const std::wstring& file_name, int width, int height, const std::wstring& megapixels,
                                        const std::wstring& date, const std::wstring& position, int zoom_percent);

inline constexpr UINT WM_APP_TITLE_WIDTH = 21024;
inline constexpr int kCaptionControlId = 1025;

class CTitleInfo {
 public:
  void SetTexts(TitleTexts texts) { texts_ = std::move(texts); }
  // Where UpdateTitle finds the main window (null while there is none).
  void SetMainWindow(std::function<HWND()> main_window) { main_window_ = std::move(main_window); }

  void SetPicture(const std::wstring& path, int width, int height, const std::wstring& date_taken);
  void SetPosition(int index, int count);
  void SetSize(int width, int height);
  void SetZoomPercent(double ratio);
  void UpdateTitle();
  [[nodiscard]] const std::wstring& GetFileName() const { return file_name_; }
  [[nodiscard]] std::wstring Title() const;

 private:
  TitleTexts texts_;
  std::function<HWND()> main_window_;
  std::wstring file_name_;
  int width_ = 0, height_ = 0;
  std::wstring position_;
  int zoom_percent_ = 100;
  std::wstring date_;
};

}  // namespace view_render
