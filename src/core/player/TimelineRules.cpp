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

std::string TimeTextWithMs(std::int64_t ms) {
  const long long total = ms > 0 ? ms : 0;
  const long long seconds = total / 1000;
  std::array<char, 40> text{};
  if (seconds < 3600) {
    std::snprintf(text.data(), text.size(), "%02lld:%02lld.%03lld", seconds / 60, seconds % 60, total % 1000);
  } else {
    std::snprintf(text.data(), text.size(), "%lld:%02lld:%02lld.%03lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60, total % 1000);
  }
  return text.data();
}

bool ReachedEnd(std::int64_t positionMs, std::int64_t durationMs) {
  return positionMs < 0 || (durationMs > 0 && positionMs >= durationMs);
}

}  // namespace vx
