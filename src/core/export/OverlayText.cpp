// Words the moment of an exported frame, in the C locale whatever the process's locale says.
#include "core/export/OverlayText.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "core/common/CFormat.h"

namespace vx {
namespace {

constexpr std::int64_t kFixReachMs = 2000;  // as far as the live readout looks for a fix

const GpsSample* NearestValidFix(const TelemetryTrack& track, std::int64_t mediaMs) {
  const GpsSample* nearest = nullptr;
  std::int64_t best = kFixReachMs + 1;
  for (const GpsSample& fix : track.gps) {
    const std::int64_t distance = std::llabs(std::int64_t{fix.mediaMs} - mediaMs);
    if (fix.valid && distance < best) nearest = &fix, best = distance;
  }
  return nearest;
}

std::string ZoneText(std::optional<int> zoneMinutes) {
  if (!zoneMinutes) return "UTC";
  const int minutes = std::abs(*zoneMinutes);
  char text[16];
  std::snprintf(text, sizeof text, "UTC%c%02d:%02d", *zoneMinutes < 0 ? '-' : '+', minutes / 60, minutes % 60);
  return text;
}

}  // namespace

std::string OverlayTimeText(std::int64_t utcMs, std::optional<int> zoneMinutes) {
  std::int64_t seconds = utcMs / 1000 + std::int64_t{zoneMinutes.value_or(0)} * 60;
  if (utcMs % 1000 < 0) --seconds;
  const auto flat = static_cast<std::time_t>(seconds);
  std::tm tm{};
  char text[32] = "";
  if (gmtime_r(&flat, &tm)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
  return std::string(text) + " " + ZoneText(zoneMinutes);
}

std::string OverlayPlaceText(double latitude, double longitude) {
  return FormatFixed(std::abs(latitude), 5) + (latitude < 0 ? " S  " : " N  ") + FormatFixed(std::abs(longitude), 5) +
         (longitude < 0 ? " W" : " E");
}

std::string OverlayText(const OverlaySource& source, std::uint32_t mediaMs) {
  std::string text = OverlayTimeText(source.recordingStartUtcMs + mediaMs, source.zoneMinutes) + "\n";
  const GpsSample* fix = source.track ? NearestValidFix(*source.track, mediaMs) : nullptr;
  if (!fix) return text + "no GPS\n" + source.fileName;
  const MomentReadout readout = ReadoutAt(*source.track, mediaMs, source.unit);
  text += readout.speed;
  if (readout.heading != kNoReading) text += "  " + readout.heading;
  return text + "\n" + OverlayPlaceText(fix->latitude, fix->longitude) + "\n" + source.fileName;
}

}  // namespace vx
