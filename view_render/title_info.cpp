#include "view_render/title_info.h"

#include <cwchar>
#include <vector>

namespace view_render {

std::wstring MegapixelText(long long width, long long height, const TitleTexts& t) {
  const long long p = width * height;
  wchar_t text[128];
  if (t.chinese) {
    if (p < 1000000) return {};
    if (p < 10000000) {
      swprintf(text, 128, L"%ls%lld%ls", t.key13.c_str(), p / 1000000, t.key12.c_str());
      return text;
    }
    const long long d = p / 10000000, r = (p % 10000000) / 1000000;
    if (r != 0) swprintf(text, 128, L"%lld%ls%lld%ls", d, t.key11.c_str(), r, t.key12.c_str());
    else swprintf(text, 128, L"%lld%ls", d, t.key10.c_str());
    return text;
  }
  if (p <= 1000000) return {};
  swprintf(text, 128, L"%lldM %ls", p / 1000000, t.key10.c_str());
  return text;
}

std::wstring DateText(const std::wstring& date, const TitleTexts& t) {
  std::vector<std::wstring> parts;
  std::wstring part;
  for (wchar_t ch : date) {
    if (ch == L' ' || ch == L':') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += ch;
    }
  }
  if (!part.empty()) parts.push_back(part);
  if (parts.size() != 6 || !t.cjk) return date;
  return parts[0] + t.key30 + parts[1] + t.key31 + parts[2] + t.key32;
}

std::wstring PositionText(int index, int count, const TitleTexts& t) {
  return t.key40 + std::to_wstring(index + 1) + L"/" + std::to_wstring(count) + t.key41;
}

std::wstring ComposeTitle(const std::wstring& file_name, int width, int height, const std::wstring& megapixels,
                          const std::wstring& date, const std::wstring& position, int zoom_percent) {
  if (file_name.empty()) return {};
  if (width == 0) return file_name + L" - " + position;
  std::wstring shown = file_name;
  if (shown.size() > 10) {
    const size_t dot = file_name.find_last_of(L'.');
    shown = file_name.substr(0, 10) + L"..." + (dot == std::wstring::npos ? file_name : file_name.substr(dot + 1));
  }
  std::wstring title = shown + L" ( " + std::to_wstring(width) + L"x" + std::to_wstring(height);
  if (!megapixels.empty()) title += L" , " + megapixels;
  if (!date.empty()) title += L" , " + date;
  return title + L" ) - " + position + L" " + std::to_wstring(zoom_percent) + L"%";
}

void CTitleInfo::SetPicture(const std::wstring& path, int width, int height, const std::wstring& date_taken) {
  const size_t slash = path.find_last_of(L"\\/");
  file_name_ = slash == std::wstring::npos ? path : path.substr(slash + 1);
  width_ = width;
  height_ = height;
  position_.clear();
  zoom_percent_ = 100;
  date_ = date_taken.empty() ? std::wstring() : DateText(date_taken, texts_);
}

void CTitleInfo::SetPosition(int index, int count) { position_ = PositionText(index, count, texts_); }

void CTitleInfo::SetSize(int width, int height) {
  width_ = width;
  height_ = height;
  UpdateTitle();
}

void CTitleInfo::SetZoomPercent(double ratio) {
  zoom_percent_ = static_cast<int>(ratio * 100);
  UpdateTitle();
}

std::wstring CTitleInfo::Title() const {
  return ComposeTitle(file_name_, width_, height_, MegapixelText(width_, height_, texts_), date_, position_,
                      zoom_percent_);
}

void CTitleInfo::UpdateTitle() {
  HWND main = main_window_ ? main_window_() : nullptr;
  HWND caption = main ? GetDlgItem(main, kCaptionControlId) : nullptr;
  if (!caption) return;
  const std::wstring title = Title();
  HDC dc = GetDC(caption);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(caption, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(dc, title.c_str(), static_cast<int>(title.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(caption, dc);
  RECT r{};
  GetClientRect(caption, &r);
  if (extent.cx != 0 && extent.cx != r.right - r.left) SendMessageW(main, WM_APP_TITLE_WIDTH, static_cast<WPARAM>(extent.cx), 29);
  SetWindowTextW(caption, title.c_str());
  SetWindowTextW(main, title.empty() ? L"Vistroma" : title.c_str());
}

}  // namespace view_render
