// Reads the `gps0` and `gsen` chunks that some AVI dash cameras write among the media chunks of the file.
#pragma once

#include "core/telemetry/ByteSource.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx {

inline constexpr const char* kAviGpsLayoutName = "AVI gps0/gsen";

// GPS fixes from the 32-byte records of every `gps0` chunk and G-sensor samples from the 3-byte records of
// every `gsen` chunk, in file order, found at the top of each RIFF list of the file and inside its `movi`
// list. GPS record n is taken at n seconds; the G samples are spread evenly over the same seconds. An empty
// layout when the file is no AVI or holds neither chunk; damage ends the track with a warning.
TelemetryTrack ReadAviTelemetry(const ByteSource& file);

}  // namespace vx
