#pragma once
// CCommandLine: the viewer's command-line grammar. Switches start with "-", "--", "/" or "/-" and may carry
// "=value"; everything else is a plain argument kept exactly as written, quotes included. Names compare
// as UTF-16 code units, so they are case-sensitive. The same grammar parses the text a running copy
// receives from a later launch.
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace app {

class CCommandLine {
 public:
  // The process-wide instance, filled once at start-up.
  static CCommandLine& Get();

  // Replaces everything with what raw holds. Always succeeds.
  void Parse(std::wstring_view raw);

  // A query written with "--", "-", "/" or no prefix is the same query.
  [[nodiscard]] bool HasSwitch(std::wstring_view name) const;
  // Clears value; true with the stored value when the switch is present.
  bool GetSwitchValue(std::wstring_view name, std::wstring& value) const;
  void GetArguments(std::vector<std::wstring>& list) const { list = arguments_; }
  [[nodiscard]] const std::wstring& GetRawLine() const { return raw_; }
  [[nodiscard]] const std::map<std::wstring, std::wstring>& switches() const { return switches_; }

  // The first plain argument, unquoted, that names an existing file (or folder) not ending in exactly
  // ".exe"; empty when none does.
  [[nodiscard]] std::wstring GetFileToOpen() const;

 private:
  void File(std::wstring_view token);
  [[nodiscard]] const std::wstring* Find(std::wstring_view name) const;

  std::map<std::wstring, std::wstring> switches_;
  std::vector<std::wstring> arguments_;
  std::wstring raw_;
};

}  // namespace app
