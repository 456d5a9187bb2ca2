// The VX-880QN's own telemetry log read into common units.
#pragma once

#include "core/telemetry/ByteSource.h"
#include "core/telemetry/ITelemetrySource.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx {

inline constexpr const char* kVx880LogLayout = "VX-880QN log";

// The log of an MP4 or AVI recording as a track: fixes in degrees, UTC and km/h (valid only when whole,
// marked valid and in range), G-sensor samples in g. Empty layout when the file holds no such log.
TelemetryTrack ReadVx880Telemetry(const ByteSource& file);

// The same from a log already opened (the camera source reads it with the container), drained to its
// end. Empty layout when the source hands out no record.
TelemetryTrack Vx880TrackOf(ITelemetrySource& source);

}  // namespace vx
