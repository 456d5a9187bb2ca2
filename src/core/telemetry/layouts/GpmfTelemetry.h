// Reader of the GPMF telemetry (GPS and accelerometer) that GoPro-style cameras write as an MP4 `gpmd` track.
#pragma once

#include "core/telemetry/ByteSource.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx {

inline constexpr const char* kGpmfLayoutName = "GoPro GPMF";

// Reads the GPS fixes (GPS9 when the track has them, else GPS5) and the accelerometer (ACCL, in g) of the
// file's first `gpmd` track whose samples hold GPMF devices. The points of one sample are spread evenly over
// its duration. The layout is empty when there is no such track; damage ends the track at the last good
// point with a warning.
TelemetryTrack ReadGpmfTelemetry(const ByteSource& file);

}  // namespace vx
