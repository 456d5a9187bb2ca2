// Speed steps, their playback rates and the speed label.
#include "core/player/SpeedSteps.h"

#include <algorithm>

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

std::string SpeedLabel(int step) {
  const int tenths = RateTenths(step);
  return "X " + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

}  // namespace vx
