#include "app/language.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "app/app_config.h"
#include "app/app_paths.h"
#include "basic_lib/text_case.h"

namespace app {
namespace {

std::wstring& CurrentName() {
  static std::wstring name = L"en.ini";
  return name;
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() && basic_lib::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

const std::wstring& GetLanguageFolder() {
  static const std::wstring folder = [] {
    wchar_t canonical[MAX_PATH] = {};
    const std::wstring exe = GetExeFolder();
    std::wstring base = exe.size() < MAX_PATH && PathCanonicalizeW(canonical, exe.c_str()) ? canonical : exe;
    if (!base.empty() && base.back() != L'\\') base += L'\\';
    return base + L"locales\\";
  }();
  return folder;
}

std::wstring LanguageFileForLocale(std::wstring_view locale) {
  if (StartsWithNoCase(locale, L"zh-CN") || StartsWithNoCase(locale, L"zh-SG") ||
      basic_lib::EqualsNoCase(locale, L"zh-Hans") || basic_lib::EqualsNoCase(locale, L"zh"))
    return L"cn_simp.ini";
  static constexpr std::pair<std::wstring_view, std::wstring_view> kPrefixes[] = {
      {L"zh", L"cn_trad.ini"}, {L"fr-", L"fr.ini"}, {L"de-", L"de.ini"}, {L"es-", L"es.ini"}, {L"pt-", L"pt.ini"},
      {L"ru", L"ru.ini"},      {L"ar", L"ar.ini"},  {L"it", L"it.ini"},  {L"ja", L"ja.ini"},  {L"ko", L"ko.ini"},
  };
  for (const auto& [prefix, file] : kPrefixes)
    if (StartsWithNoCase(locale, prefix)) return std::wstring(file);
  return L"en.ini";
}

void SelectLanguageFile(CAppConfig& config, bool had_language_id) {
  std::wstring wanted;
  if (had_language_id) {
    wanted = config.language_id;
  } else {
    wchar_t locale[85] = {};
    GetSystemDefaultLocaleName(locale, 85);
    wanted = LanguageFileForLocale(locale);
  }
  const bool named_ini = basic_lib::ToLower(wanted).find(L".ini") != std::wstring::npos;
  if (named_ini && wanted.size() <= 31 && PathFileExistsW((GetLanguageFolder() + wanted).c_str()))
    CurrentName() = wanted;
  else
    CurrentName() = L"en.ini";
  config.language_id = CurrentName();
}

const std::wstring& CurrentLanguageFile() { return CurrentName(); }

std::wstring GetLanguageString(const std::wstring& folder, const std::wstring& file, const wchar_t* section,
                               const wchar_t* key) {
  const std::wstring path = folder + file;
  std::vector<wchar_t> buffer(256);
  DWORD n = GetPrivateProfileStringW(section, key, L"\n", buffer.data(), 256, path.c_str());
  if (n >= 249) {
    buffer.assign(4096, L'\0');
    n = GetPrivateProfileStringW(section, key, L"\n", buffer.data(), 4096, path.c_str());
  }
  std::wstring value(buffer.data(), n);
  return value == L"\n" ? std::wstring() : value;
}

std::wstring GetLanguageString(const wchar_t* section, const wchar_t* key) {
  return GetLanguageString(GetLanguageFolder(), CurrentName(), section, key);
}

bool IsChineseLanguage() { return CurrentName() == L"cn_simp.ini" || CurrentName() == L"cn_trad.ini"; }

bool IsCjkLanguage() { return IsChineseLanguage() || CurrentName() == L"ja.ini" || CurrentName() == L"ko.ini"; }

std::wstring CMultiLanguageLoader::GetText(int id) const {
  return GetLanguageString(section_.c_str(), std::to_wstring(id).c_str());
}

}  // namespace app
