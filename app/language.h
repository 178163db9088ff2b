#pragma once
// Language packs: one INI file of texts per language in <exe folder>\locales\, chosen once at start-up
// from the settings or the system locale, and read on every call (no cache).
#include <string>
#include <string_view>

namespace app {

class CAppConfig;

// <exe folder>\locales\ (canonical, with the trailing backslash).
[[nodiscard]] const std::wstring& GetLanguageFolder();
// The pack for a system locale name such as "zh-TW" (case is ignored).
[[nodiscard]] std::wstring LanguageFileForLocale(std::wstring_view locale);
// Settles the current pack from language_id (when the file had it) or the system locale, falling back to
// "en.ini", and writes the choice back into language_id.
void SelectLanguageFile(CAppConfig& config, bool had_language_id);
// The current pack's name, "en.ini" until one is selected.
[[nodiscard]] const std::wstring& CurrentLanguageFile();
// Empty when the key, the file or the folder is missing.
[[nodiscard]] std::wstring GetLanguageString(const wchar_t* section, const wchar_t* key);
[[nodiscard]] std::wstring GetLanguageString(const std::wstring& folder, const std::wstring& file, const wchar_t* section,
                                             const wchar_t* key);
[[nodiscard]] bool IsChineseLanguage();
[[nodiscard]] bool IsCjkLanguage();

// Mixed into dialogs: their texts by number from one section.
class CMultiLanguageLoader {
 public:
  explicit CMultiLanguageLoader(std::wstring section) : section_(std::move(section)) {}
  [[nodiscard]] std::wstring GetText(int id) const;

 private:
  std::wstring section_;
};

}  // namespace app
