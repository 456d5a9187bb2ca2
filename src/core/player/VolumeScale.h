// The volume slider's scale: slider positions 0-99 to the sound level of the player's own stream.
//
// The window's volume slider starts at kDefaultVolumePosition; each change and the sound button set the
// level of the pipeline's volume element to VolumeLevel of the slider position (0 while the sound is off).
// A position below kAudibleVolumePosition shows the muted sound button.
#pragma once

#include <cstdint>

namespace vx {

inline constexpr int kVolumeSliderMax = 99;
inline constexpr int kDefaultVolumePosition = 50;
inline constexpr int kAudibleVolumePosition = 1;

// The level as a factor of full scale for a volume element: w / 65 535, where w = position x 655.35
// (truncated) is the 16-bit channel level; positions are held to 0-99, so 50 gives 32 767 / 65 535.
double VolumeLevel(int position);

}  // namespace vx
