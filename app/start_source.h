#pragma once
// The start statistic: which statistic name a "--from=" value reports.
#include <string>
#include <string_view>

namespace app {

// Exact (case-sensitive) match on the UTF-8 text; anything unknown, or nothing, is "unknown".
[[nodiscard]] std::string StartSourceStat(std::string_view from);

}  // namespace app
