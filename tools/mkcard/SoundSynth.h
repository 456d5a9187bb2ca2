// Synthesises the cabin sound of a drive: engine hum, tyre and wind noise, and the thump of an impact.
#pragma once

#include <cstdint>
#include <vector>

#include "DriveSimulator.h"

namespace vx::mkcard {

// Mono 16-bit samples at `sampleRate`, one per sample of the drive's length.
std::vector<std::int16_t> SynthesizeSound(const Drive& drive, int sampleRate, std::uint32_t seed);

}  // namespace vx::mkcard
