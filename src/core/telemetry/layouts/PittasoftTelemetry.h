// Reads the telemetry of Pittasoft-style cameras: the `gps ` and `3gf ` parts of a top-level `free` box,
// or the same data in `.gps` and `.3gf` files beside the recording.
#pragma once

#include "core/telemetry/ByteSource.h"
#include "core/telemetry/TelemetryTrack.h"
#include "core/telemetry/layouts/SideFiles.h"

namespace vx {

// Layout "Pittasoft free box" or "Pittasoft side files"; an empty layout when neither is there.
TelemetryTrack ReadPittasoftTelemetry(const ByteSource& file, const SideFiles& side);

// The parts on their own, as found in the box or in the side files.
void ReadPittasoftGpsText(std::span<const std::uint8_t> text, bool cut, TelemetryTrack& track);
void ReadPittasoftAccel(std::span<const std::uint8_t> records, bool cut, TelemetryTrack& track);

}  // namespace vx
