// Reads the GPS records Garmin dash cameras write into a `uuid` box of the movie header.
#pragma once

#include "core/telemetry/ByteSource.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx {

inline constexpr const char* kGarminLayoutName = "Garmin uuid GPS";

// The fixes of the first `uuid` box in `moov` that carries Garmin's GPS identifier; record n is taken at
// n seconds (the camera writes one a second). An empty layout when there is no such box; a box cut short
// keeps its whole records and says so in the warning.
TelemetryTrack ReadGarminTelemetry(const ByteSource& file);

}  // namespace vx
