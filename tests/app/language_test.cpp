// Language packs: the locale table, the choice of pack, long values, and every shipped pack complete.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_config.h"
#include "app/language.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"

using namespace app;

TEST(Language, LocaleTable) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"zh-CN", L"cn_simp.ini"},  {L"ZH-cn", L"cn_simp.ini"},   {L"zh-SG", L"cn_simp.ini"}, {L"zh-Hans", L"cn_simp.ini"},
      {L"zh", L"cn_simp.ini"},     {L"zh-TW", L"cn_trad.ini"},   {L"zh-Hant-HK", L"cn_trad.ini"},
      {L"zh-HK", L"cn_trad.ini"},  {L"fr-FR", L"fr.ini"},        {L"fr", L"en.ini"},         {L"fr-CA", L"fr.ini"},
      {L"de-DE", L"de.ini"},       {L"de", L"en.ini"},           {L"es-MX", L"es.ini"},      {L"pt-BR", L"pt.ini"},
      {L"ru", L"ru.ini"},          {L"ru-RU", L"ru.ini"},        {L"ar-SA", L"ar.ini"},      {L"it-IT", L"it.ini"},
      {L"ja-JP", L"ja.ini"},       {L"ko-KR", L"ko.ini"},        {L"en-US", L"en.ini"},      {L"", L"en.ini"},
  };
  for (const auto& [locale, file] : cases) EXPECT_EQ(LanguageFileForLocale(locale), file) << locale;
}

TEST(Language, ThePackIsChosenFromTheSettingsOrTheLocale) {
  test_support::TempDir dir;
  const std::wstring ini = dir.File(L"config.ini");
  struct Case {
    const wchar_t* language_id;  // null: no key, the system locale decides (en-US here)
    const wchar_t* chosen;
    bool chinese, cjk;
  };
  for (const Case& c : {Case{L"de.ini", L"de.ini", false, false}, Case{L"de", L"en.ini", false, false},
                        Case{L"xx.ini", L"en.ini", false, false}, Case{L"cn_trad.ini", L"cn_trad.ini", true, true},
                        Case{L"ko.ini", L"ko.ini", false, true}, Case{L"DE.INI", L"DE.INI", false, false},
                        Case{nullptr, L"en.ini", false, false}}) {
    DeleteFileW(ini.c_str());
    if (c.language_id) WritePrivateProfileStringW(L"app", L"language_id", c.language_id, ini.c_str());
    CAppConfig config(ini);
    EXPECT_EQ(CurrentLanguageFile(), c.chosen) << (c.language_id ? c.language_id : L"(none)");
    EXPECT_EQ(config.language_id, c.chosen) << "the choice is what the next save writes";
    EXPECT_EQ(IsChineseLanguage(), c.chinese);
    EXPECT_EQ(IsCjkLanguage(), c.cjk);
  }
  // The pack names the program.
  WritePrivateProfileStringW(L"app", L"language_id", L"cn_simp.ini", ini.c_str());
  CAppConfig chinese(ini);
  EXPECT_EQ(GetLanguageString(L"app", L"NAME"), L"Vistroma看图");
  EXPECT_EQ(CMultiLanguageLoader(L"TOOLBAR").GetText(5), L"放大");
  EXPECT_EQ(GetLanguageString(L"app", L"NO_SUCH_KEY"), L"");
}

TEST(Language, LongValuesAreReadWhole) {
  test_support::TempDir dir;
  const std::wstring file = dir.File(L"long.ini");
  // UTF-16 with a mark, as the packs are, so the values are stored exactly.
  HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  const wchar_t bom = 0xFEFF;
  DWORD written = 0;
  WriteFile(h, &bom, 2, &written, nullptr);
  CloseHandle(h);
  for (const size_t length : {size_t{248}, size_t{249}, size_t{300}, size_t{4000}}) {
    const std::wstring value(length, L'长');
    WritePrivateProfileStringW(L"S", L"k", value.c_str(), file.c_str());
    EXPECT_EQ(GetLanguageString(dir.path(), L"long.ini", L"S", L"k"), value) << length;
  }
  EXPECT_EQ(GetLanguageString(dir.path(), L"missing.ini", L"S", L"k"), L"");
}

namespace {

std::vector<std::wstring> Keys() {
  std::vector<std::wstring> keys;
  for (int i = 1; i <= 18; ++i) keys.push_back(L"TOOLBAR/" + std::to_wstring(i));
  for (int i : {10, 11, 12, 13, 30, 31, 32, 40, 41}) keys.push_back(L"TITLE/" + std::to_wstring(i));
  for (int i = 1; i <= 19; ++i) keys.push_back(L"EXIF/" + std::to_wstring(i));
  for (int i : {1, 2, 3, 10, 11, 12, 13, 14, 15, 16, 19, 20, 21, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110,
                113, 114, 115})
    keys.push_back(L"DLG_SETTING/" + std::to_wstring(i));
  for (const wchar_t* k : {L"app/NAME", L"app/LOAD_IMAGE_ERROR_TIP", L"FILE/SUPPORT_FILE", L"FILE/SAVE_ERROR"})
    keys.push_back(k);
  return keys;
}

size_t Items(const std::wstring& list) {
  size_t n = 1;
  for (wchar_t ch : list) n += ch == L'/';
  return n;
}

}  // namespace

TEST(Language, EveryShippedPackIsComplete) {
  const std::wstring folder = test_support::DistDirectory() + L"locales\\";
  for (const wchar_t* pack : {L"en.ini", L"cn_simp.ini", L"cn_trad.ini", L"fr.ini", L"de.ini", L"es.ini", L"pt.ini",
                              L"ru.ini", L"ar.ini", L"it.ini", L"ja.ini", L"ko.ini"}) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(pack)));
    HANDLE h = CreateFileW((folder + pack).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    unsigned char bom[2] = {};
    DWORD read = 0;
    ReadFile(h, bom, 2, &read, nullptr);
    CloseHandle(h);
    EXPECT_TRUE(bom[0] == 0xFF && bom[1] == 0xFE) << "UTF-16LE with a byte-order mark";
    for (const std::wstring& key : Keys()) {
      const size_t slash = key.find(L'/');
      const std::wstring section = key.substr(0, slash), name = key.substr(slash + 1);
      EXPECT_FALSE(GetLanguageString(folder, pack, section.c_str(), name.c_str()).empty()) << key;
    }
    const std::pair<const wchar_t*, size_t> lists[] = {{L"80", 7}, {L"81", 2}, {L"82", 2}, {L"83", 9}};
    for (const auto& [key, count] : lists) EXPECT_EQ(Items(GetLanguageString(folder, pack, L"EXIF", key)), count) << key;
  }
}
