// The time and place of a frame from the recording's fixes, its name and the zones that apply.
#include "core/snapshot/FrameMoment.h"

#include <ctime>

#include "core/common/CivilDays.h"
#include "core/telemetry/RecordingStart.h"

namespace vx {
namespace {

std::uint32_t Distance(std::uint32_t a, std::uint32_t b) { return a > b ? a - b : b - a; }

// The valid fix nearest to `mediaMs` that passes `wanted`; the earlier one on a tie.
template <typename Wanted>
const GpsSample* NearestValidFix(const TelemetryTrack& track, std::uint32_t mediaMs, Wanted wanted) {
  const GpsSample* nearest = nullptr;
  for (const GpsSample& fix : track.gps) {
    if (!fix.valid || !wanted(fix)) continue;
    if (!nearest || Distance(fix.mediaMs, mediaMs) < Distance(nearest->mediaMs, mediaMs)) nearest = &fix;
  }
  return nearest;
}

// `utcMs` moved by `byMs`; nothing past the range of the type (a damaged clock).
std::optional<std::int64_t> Shifted(std::int64_t utcMs, std::int64_t byMs) {
  std::int64_t shifted = 0;
  if (__builtin_add_overflow(utcMs, byMs, &shifted)) return std::nullopt;
  return shifted;
}

int ComputerZoneMinutesAt(std::int64_t utcMs) {
  const auto seconds = static_cast<std::time_t>(FloorDiv(utcMs, 1000));
  std::tm local{};
  if (!::localtime_r(&seconds, &local)) return 0;
  return static_cast<int>(local.tm_gmtoff / 60);
}

}  // namespace

FrameMoment FrameMomentAt(const TelemetryTrack& track, std::uint32_t mediaMs, std::optional<std::int64_t> startUtcMs,
                          int zoneOffsetMinutes) {
  FrameMoment moment;
  moment.zoneOffsetMinutes = zoneOffsetMinutes;
  if (const GpsSample* timed = NearestValidFix(track, mediaMs, [](const GpsSample& fix) { return fix.utcMs; })) {
    moment.utcMs = Shifted(*timed->utcMs, static_cast<std::int64_t>(mediaMs) - timed->mediaMs);
  } else if (startUtcMs) {
    moment.utcMs = Shifted(*startUtcMs, mediaMs);
  }
  if (const GpsSample* near = NearestValidFix(track, mediaMs, [mediaMs](const GpsSample& fix) {
        return Distance(fix.mediaMs, mediaMs) <= kFrameFixReachMs;
      })) {
    moment.fix = *near;
  }
  return moment;
}

FrameMoment FrameMomentOf(const std::string& recordingPath, const TelemetryTrack& track, std::uint32_t mediaMs) {
  const std::optional<RecordingStart> start = RecordingStartOf(recordingPath);
  if (start) return FrameMomentAt(track, mediaMs, start->utcSeconds * 1000, start->zone.offsetMinutes);
  FrameMoment moment = FrameMomentAt(track, mediaMs, std::nullopt, 0);
  if (const std::optional<int> cardZone = CardSetupZoneMinutes(recordingPath)) {
    moment.zoneOffsetMinutes = *cardZone;
  } else if (moment.utcMs) {
    moment.zoneOffsetMinutes = ComputerZoneMinutesAt(*moment.utcMs);
  }
  return moment;
}

}  // namespace vx
