// Telemetry of a simulated drive, read into the track the map and the graph read.
#pragma once

#include "DriveSimulator.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx::test {

// The drive's records stored as the camera stores its log and read back, as the main window reads a recording.
TelemetryTrack ReadDrive(const mkcard::DriveScript& script);

}  // namespace vx::test
