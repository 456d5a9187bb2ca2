// What a snapshot records of a frame's moment: its time in UTC with the zone it is shown in, and where the car was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/telemetry/TelemetryTrack.h"

namespace vx {

// A fix further than this from the frame in the recording says nothing about where the frame was taken.
inline constexpr std::uint32_t kFrameFixReachMs = 2000;

struct FrameMoment {
  std::optional<std::int64_t> utcMs;  // nothing when neither the telemetry nor the file name tells the time
  int zoneOffsetMinutes = 0;          // east of UTC: the zone the local time is shown in
  std::optional<GpsSample> fix;       // the nearest valid fix within kFrameFixReachMs
};

// The moment of the frame at `mediaMs`. Its time is the nearest valid fix's UTC moved by the distance in the
// recording (the GPS clock is the better one), else `startUtcMs` + `mediaMs`, else unknown.
FrameMoment FrameMomentAt(const TelemetryTrack& track, std::uint32_t mediaMs, std::optional<std::int64_t> startUtcMs,
                          int zoneOffsetMinutes);

// The same for the recording at `recordingPath`: its start and zone from its name and the card's setup.cfg; a
// name without a time shows the moment in the card's zone, else in the computer's zone as it stood then.
FrameMoment FrameMomentOf(const std::string& recordingPath, const TelemetryTrack& track, std::uint32_t mediaMs);

}  // namespace vx
