#include <gtest/gtest.h>

#include <string>

#include "image/format_table.h"

using namespace image;

TEST(FormatTable, Classification) {
  const std::pair<const wchar_t*, ImageFileType> cases[] = {
      {L"C:\\a\\B.JPG", 2},     {L"x.Jpeg", 2},        {L"x.jfif", 2},      {L"x.jpe", 2},     {L"x.dib", 1},
      {L"x.bmp", 1},            {L"x.tif", 4},         {L"x.TIFF", 4},      {L"x.gif", 3},     {L"x.png", 5},
      {L"x.ico", 6},            {L"x.psd", 7},         {L"x.tga", 8},       {L"x.oxo", 9},     {L"x.wmf", 12},
      {L"x.emf", 13},           {L"x.jng", 14},        {L"x.j2c", 15},      {L"x.jp2", 11},    {L"x.nef", 10},
      {L"x.webp", 11},          {L"x.CR2", 10},        {L"x.x3f", 10},      {L"x.xpm", 11},    {L"x.targa", 0},
      {L"x.txt", 0},            {L"noextension", 0},   {L"x.", 0},          {L"x.jp", 0},      {L"x.pg", 0},
      {L"C:\\a.jpg\\file", 0},  {L"C:\\pics.d\\x", 0}, {L"x.jpg.txt", 0},   {L"x.txt.jpg", 2}, {L"", 0},
      {L"x.j pg", 0},           {L"图片.PNG", 5},      {L",jpg,", 0},       {L"x.jpg,", 0},
  };
  for (const auto& [path, code] : cases)
    EXPECT_EQ(ClassifyImagePath(path), code) << testing::PrintToString(std::wstring(path));
}

TEST(FormatTable, FiltersAndSaveAsNames) {
  const std::wstring patterns = OpenFilterPatterns();
  size_t count = 1;
  for (wchar_t ch : patterns) count += ch == L';';
  EXPECT_EQ(count, 92u) << "the whole list, from *.bmp to *.x3f";
  EXPECT_EQ(patterns.rfind(L"*.bmp;*.dib;*.jpg;", 0), 0u);
  EXPECT_NE(patterns.find(L";*.targa;"), std::wstring::npos);
  EXPECT_EQ(patterns.find(L"oxo"), std::wstring::npos);
  EXPECT_EQ(OpenFilter(L"All supported pictures"), L"All supported pictures (*.*)|" + patterns + L"||");
  EXPECT_STREQ(SaveAsFilter(), L"JPEG|*.jpg|PNG|*.png|BMP|*.bmp|GIF|*.gif|TIFF|*.tiff||");

  const std::tuple<const wchar_t*, int, const wchar_t*> names[] = {
      {L"out", 5, L"out.tiff"},           {L"out.jpeg", 2, L"out.jpeg"},   {L"photo.webp", 2, L"photo.webp.png"},
      {L"out", 1, L"out.jpg"},            {L"out", 3, L"out.bmp"},         {L"out", 4, L"out.gif"},
      {L"out", 0, L"out.jpg"},            {L"out", 9, L"out.jpg"},         {L"out.PNG", 1, L"out.PNG"},
  };
  for (const auto& [typed, index, expected] : names) EXPECT_EQ(FinishSaveAsName(typed, index), expected) << typed;
}
