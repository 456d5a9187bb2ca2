// Reads the top-level `GPS ` box of 70mai dash cameras.
#pragma once

#include "core/telemetry/ByteSource.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx {

inline constexpr const char* kSeventyMaiLayoutName = "70mai GPS box";

// The fixes of the 36-byte records of the first top-level `GPS ` box, up to the zero padding that ends
// them; record n is taken at n seconds (the camera writes one a second). An empty layout when there is no
// such box; a box cut short, or ending inside a record, keeps its whole records and says so in the warning.
TelemetryTrack ReadSeventyMaiTelemetry(const ByteSource& file);

}  // namespace vx
