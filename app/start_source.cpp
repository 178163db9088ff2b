#include "app/start_source.h"

#include <utility>

namespace app {

std::string StartSourceStat(std::string_view from) {
  static constexpr std::pair<std::string_view, std::string_view> kNames[] = {
      {"task", "auto"},       {"reg_run", "auto_reg"},   {"svc", "svc"},         {"startmenu", "menu"},
      {"main", "main"},       {"desktop", "lnk"},        {"tray", "tray"},       {"newinstall", "newinstall"},
      {"upinstall", "upinstall"}, {"contextmenu", "contextmenu"}, {"openwith", "shell"},
  };
  for (const auto& [value, name] : kNames)
    if (value == from) return std::string(name);
  return "unknown";
}

}  // namespace app
