#include "app/command_line.h"

#include <windows.h>
#include <shlwapi.h>

#include "basic_lib/singleton.h"

namespace app {

CCommandLine& CCommandLine::Get() { return basic_lib::CSingletonT<CCommandLine>::Instance(); }

void CCommandLine::Parse(std::wstring_view raw) {
  switches_.clear();
  arguments_.clear();
  raw_.assign(raw);
  size_t i = 0;
  while (i < raw.size()) {
    while (i < raw.size() && raw[i] == L' ') ++i;
    if (i >= raw.size()) break;
    const size_t start = i;
    bool quoted = false;
    for (; i < raw.size(); ++i) {
      const wchar_t ch = raw[i];
      if (ch == L'"' && !(i > start && raw[i - 1] == L'\\')) quoted = !quoted;
      else if (ch == L' ' && !quoted) break;
    }
    File(raw.substr(start, i - start));
  }
}

void CCommandLine::File(std::wstring_view token) {
  const bool is_switch = token.size() >= 2 && (token[0] == L'-' || token[0] == L'/');
  if (!is_switch) {
    arguments_.emplace_back(token);
    return;
  }
  const size_t prefix = token[1] == L'-' ? 2 : 1;
  if (token.size() == prefix) return;  // "--" or "/-" alone
  const std::wstring_view body = token.substr(prefix);
  const size_t equals = body.find(L'=');
  if (equals == std::wstring_view::npos) {
    switches_[std::wstring(body)] = L"";
    return;
  }
  std::wstring_view value = body.substr(equals + 1);
  if (!value.empty() && value.front() == L'"' && value.back() == L'"')
    value = value.size() >= 2 ? value.substr(1, value.size() - 2) : std::wstring_view();
  switches_[std::wstring(body.substr(0, equals))] = std::wstring(value);
}

const std::wstring* CCommandLine::Find(std::wstring_view name) const {
  if (auto it = switches_.find(std::wstring(name)); it != switches_.end()) return &it->second;
  std::wstring_view bare = name;
  if (bare.starts_with(L"--")) bare.remove_prefix(2);
  else if (bare.starts_with(L"-") || bare.starts_with(L"/")) bare.remove_prefix(1);
  if (bare.empty() || bare.size() == name.size()) return nullptr;
  if (auto it = switches_.find(std::wstring(bare)); it != switches_.end()) return &it->second;
  return nullptr;
}

bool CCommandLine::HasSwitch(std::wstring_view name) const { return Find(name) != nullptr; }

bool CCommandLine::GetSwitchValue(std::wstring_view name, std::wstring& value) const {
  value.clear();
  const std::wstring* found = Find(name);
  if (!found) return false;
  value = *found;
  return true;
}

std::wstring CCommandLine::GetFileToOpen() const {
  for (const std::wstring& argument : arguments_) {
    std::wstring path = argument;
    path.push_back(L'\0');  // PathUnquoteSpacesW works in place on a terminated buffer
    PathUnquoteSpacesW(path.data());
    path.resize(wcslen(path.c_str()));
    if (path.empty() || !PathFileExistsW(path.c_str())) continue;
    if (std::wstring_view(PathFindExtensionW(path.c_str())) == L".exe") continue;
    return path;
  }
  return {};
}

}  // namespace app
