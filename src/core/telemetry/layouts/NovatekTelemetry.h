// Reader of the freeGPS telemetry that Novatek-based dash cameras write into the media data of their MP4 files.
#pragma once

#include "core/telemetry/ByteSource.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx {

inline constexpr const char* kNovatekLayoutName = "Novatek freeGPS";

// Reads the GPS fixes (and, in the variant that has them, the accelerometer values) of the recording's freeGPS
// blocks: through the `gps ` index in `moov` when there is one, else by a scan of the first 32 MiB of `mdat`.
// Block n is taken at media time n seconds (the camera writes one a second). The track's layout is empty when
// the file holds no freeGPS block; damage ends the track at the last good block with a warning. Without
// `searchWithoutIndex` a file without the index reads as holding none.
TelemetryTrack ReadNovatekTelemetry(const ByteSource& file, bool searchWithoutIndex = true);

}  // namespace vx
