// Slider position to sound level.
#include "core/player/VolumeScale.h"

#include <algorithm>

namespace vx {
namespace {

// w = position x 655.35, truncated; in hundredths to stay exact.
std::uint32_t ChannelLevel(int position) {
  const auto clamped = static_cast<std::uint32_t>(std::clamp(position, 0, kVolumeSliderMax));
  return clamped * 65'535u / 100u;
}

}  // namespace

double VolumeLevel(int position) { return ChannelLevel(position) / 65'535.0; }

}  // namespace vx
