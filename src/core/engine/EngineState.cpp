// Rate clamping and relative seek targets of the engine transport.
#include "core/engine/EngineState.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vx {

float ClampRate(float rate) {
  if (std::isnan(rate)) return 1.0f;
  if (rate == 1.0f) return rate;
  return std::max(std::min(rate, kMaxRate), kMinRate);
}

RefTime SkipTarget(RefTime position, double seconds, RefTime duration) {
  const double delta = std::trunc(seconds * kRefTimePerSecond);
  // A huge or non-finite skip simply lands on one of the two ends.
  constexpr double kLimit = static_cast<double>(std::numeric_limits<RefTime>::max() / 2);
  const double bounded = std::isnan(delta) ? 0.0 : std::clamp(delta, -kLimit, kLimit);
  const RefTime target = position + static_cast<RefTime>(bounded);
  if (target < 0) return 0;
  return duration > 0 && target > duration ? duration : target;
}

}  // namespace vx
