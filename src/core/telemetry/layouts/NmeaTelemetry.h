// Reads an NMEA log written beside a recording (`.NMEA`, `.nmea` or `.LOG` of the same base name).
#pragma once

#include <span>

#include "core/telemetry/TelemetryTrack.h"
#include "core/telemetry/layouts/SideFiles.h"

namespace vx {

// Layout "NMEA log"; an empty layout when no log lies beside the recording.
TelemetryTrack ReadNmeaTelemetry(const SideFiles& side);

// The log's text on its own: the first fix is at media time 0, the others follow by their UTC time.
void ReadNmeaText(std::span<const std::uint8_t> text, TelemetryTrack& track);

}  // namespace vx
