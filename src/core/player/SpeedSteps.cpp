// Speed steps, their playback rates and the speed label.
#include "core/player/SpeedSteps.h"

#include <algorithm>
#include <cmath>

namespace vx {
namespace {

// The rate of a step in tenths: step x 2, never below the engine's slowest rate 0.5.
int RateTenths(int step) {
  return std::max(std::clamp(step, kSlowestSpeedStep, kFastestSpeedStep) * 2, 5);
}

}  // namespace

int NextSpeedStep(int step, SpeedButton button, bool playing) {
  if (!playing) return step;
  const int next = button == SpeedButton::Faster ? step + 1 : step - 1;
  return std::clamp(next, kSlowestSpeedStep, kFastestSpeedStep);
}

float SpeedRate(int step) { return static_cast<float>(RateTenths(step)) / 10.0f; }

std::optional<int> SpeedStepForRate(double rate) {
  // Rates are whole tenths; anything further from one than rounding of a typed decimal is another rate.
  for (int step = kSlowestSpeedStep; step <= kFastestSpeedStep; ++step) {
    if (std::abs(RateTenths(step) - rate * 10) < 1e-6) return step;
  }
  return std::nullopt;
}

std::string SpeedLabel(int step) {
  const int tenths = RateTenths(step);
  return "X " + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

}  // namespace vx
