// Reads a GPX 1.0 or 1.1 file (a phone's or a logger's track) as the GPS track of a recording.
//
// Which points: the track points (trkpt) when there are any, else the route points (rtept), else the way
// points (wpt); only points with a valid lat/lon, a time, and a time not before the point before them.
// Speed is <speed> (metres per second) when stated, else the distance to the point before over the time
// between them (the first point takes the segment to the next); heading likewise from <course> or the
// bearing of that segment. Elevation is <ele>.
//
// Recording time: a point at UTC time T lies at media time T - start, where start is the recording's
// start in UTC plus an offset. Points before the start (or beyond the 32-bit media time) are left out.
// - A GPX attached by the user: start is the time in the recording's file name (the camera's local time
//   in the computer's zone) when the name has one; else the first point's time. The offset is the user's.
// - A GPX beside the recording with the same base name (".gpx", ".GPX"): such a file was written for that
//   recording (by a GPS add-on, or a tool that cuts a trip to the clips), so its first point is the start.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/telemetry/TelemetryTrack.h"
#include "core/telemetry/layouts/SideFiles.h"

namespace vx {

inline constexpr const char* kGpxLayoutName = "GPX track";

// The points of a GPX text placed at `startUtcMs` (the first point's time when empty) plus `offsetMs`.
// The layout is always kGpxLayoutName; damage keeps the points before it and says where in `warning`.
TelemetryTrack ReadGpxText(std::span<const std::uint8_t> text, std::optional<std::int64_t> startUtcMs,
                           std::int64_t offsetMs);

// Layout kGpxLayoutName from a GPX beside the recording; an empty layout when there is none.
TelemetryTrack ReadGpxTelemetry(const SideFiles& side);

}  // namespace vx
