// Line splitting and damage checks of NMEA logs; the sentences are read by the shared NMEA fix reader.
#include "core/telemetry/layouts/NmeaTelemetry.h"

#include "core/telemetry/layouts/NmeaFixes.h"

namespace vx {
namespace {

// The suffixes cameras give their logs, tried in this order.
constexpr const char* kLogSuffixes[] = {".NMEA", ".nmea", ".LOG"};

}  // namespace

void ReadNmeaText(std::span<const std::uint8_t> bytes, TelemetryTrack& track) {
  NmeaFixCollector fixes;
  const auto damageAt = ForEachTextLine(bytes, [&](std::string_view line) { fixes.AddLine(line); });
  if (damageAt) track.warning = "damaged NMEA text at byte " + std::to_string(*damageAt);
  track.gps = fixes.TakeFixes();
}

TelemetryTrack ReadNmeaTelemetry(const SideFiles& side) {
  TelemetryTrack track;
  if (!side) return track;
  for (const char* suffix : kLogSuffixes) {
    const std::unique_ptr<ByteSource> log = side(suffix);
    if (!log) continue;
    track.layout = "NMEA log";
    ReadNmeaText(ReadWhole(*log, track.warning), track);
    break;
  }
  return track;
}

}  // namespace vx
