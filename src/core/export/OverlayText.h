// The facts written on every exported frame: time with its zone, speed, place, heading and source file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/telemetry/MomentReadout.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx {

// What stays the same for all frames of one recording.
struct OverlaySource {
  std::string fileName;
  std::int64_t recordingStartUtcMs = 0;
  std::optional<int> zoneMinutes;  // the card's zone; the time is written in UTC when unknown
  SpeedUnit unit = SpeedUnit::Kmh;
  const TelemetryTrack* track = nullptr;  // may be null: a recording without telemetry
};

// "2026-12-06 08:15:03 UTC+09:00" or "… UTC": the moment on the card's clock with the zone written.
std::string OverlayTimeText(std::int64_t utcMs, std::optional<int> zoneMinutes);

// "35.68123 N  139.76712 E"
std::string OverlayPlaceText(double latitude, double longitude);

// The lines of the frame at `mediaMs`: time; speed and heading; place; file name. "no GPS" stands for the
// speed, heading and place when no valid fix lies within 2 s.
std::string OverlayText(const OverlaySource& source, std::uint32_t mediaMs);

}  // namespace vx
