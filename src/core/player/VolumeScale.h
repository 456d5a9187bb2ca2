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

// The packed two-channel level: w = position x 655.35 (truncated), w for the left and for the right channel
// (w x 65 536 + w). Position 50 gives 0x7FFF7FFF; positions are held to 0-99.
std::uint32_t WaveVolume(int position);

// The same level as a factor of full scale (w / 65 535) for a volume element.
double VolumeLevel(int position);

}  // namespace vx
