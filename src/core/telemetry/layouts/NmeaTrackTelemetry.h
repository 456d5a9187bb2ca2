// Reader of NMEA sentences that cameras write as the samples of an MP4 text or subtitle track.
#pragma once

#include "core/telemetry/ByteSource.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx {

inline constexpr const char* kNmeaTrackLayoutName = "NMEA text track";

// Reads the RMC/GGA fixes of the file's first `text` or `tx3g` track (each sample a 16-bit big-endian length,
// then that much text). A fix's media time is its sample's time, plus its UTC distance from the sample's first
// fix when a sample holds several. The layout is empty when the track holds no NMEA sentence; damage ends the
// track at the last good sample with a warning.
TelemetryTrack ReadNmeaTrackTelemetry(const ByteSource& file);

}  // namespace vx
