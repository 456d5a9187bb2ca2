// Time label texts and the end-of-recording test.
#include "core/player/TimelineRules.h"

#include <array>
#include <cstdio>

namespace vx {

std::string TimeText(std::int64_t ms) {
  const std::int64_t seconds = ms > 0 ? ms / 1000 : 0;
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text.data();
}

bool ReachedEnd(std::int64_t positionMs, std::int64_t durationMs) {
  return positionMs < 0 || (durationMs > 0 && positionMs >= durationMs);
}

}  // namespace vx
