// Trip time arithmetic over the lengths of a trip's recordings.
#include "core/player/TripTimeline.h"

#include <algorithm>

namespace vx {

TripTimeline::TripTimeline(std::vector<std::int64_t> durationsMs) : m_durations(std::move(durationsMs)) {
  for (std::int64_t& duration : m_durations) duration = std::max<std::int64_t>(duration, 0);
  Accumulate();
}

void TripTimeline::Accumulate() {
  m_starts.assign(m_durations.size(), 0);
  for (std::size_t i = 1; i < m_durations.size(); ++i) m_starts[i] = m_starts[i - 1] + m_durations[i - 1];
}

std::int64_t TripTimeline::TripMs(std::size_t file, std::int64_t fileMs) const {
  if (file >= FileCount()) return TotalMs();
  return m_starts[file] + std::clamp<std::int64_t>(fileMs, 0, m_durations[file]);
}

TripMoment TripTimeline::Locate(std::int64_t tripMs) const {
  if (m_durations.empty()) return {};
  if (tripMs >= TotalMs()) return {FileCount() - 1, m_durations.back()};
  // The last recording that starts at or before the moment; recordings of no length start where the next does.
  const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), std::max<std::int64_t>(tripMs, 0));
  const auto file = static_cast<std::size_t>(after - m_starts.begin()) - 1;
  return {file, std::max<std::int64_t>(tripMs, 0) - m_starts[file]};
}

std::optional<std::size_t> TripTimeline::StepFile(std::size_t file, bool forward) const {
  if (file >= FileCount()) return std::nullopt;
  for (std::size_t step = file; forward ? step + 1 < FileCount() : step > 0;) {
    step = forward ? step + 1 : step - 1;
    if (m_durations[step] > 0) return step;
  }
  return std::nullopt;
}

void TripTimeline::SetDurationMs(std::size_t file, std::int64_t durationMs) {
  if (file >= FileCount()) return;
  m_durations[file] = std::max<std::int64_t>(durationMs, 0);
  Accumulate();
}

TelemetryTrack JoinTripTelemetry(const std::vector<TelemetryTrack>& tracks, const TripTimeline& timeline) {
  TelemetryTrack joined;
  for (std::size_t file = 0; file < tracks.size() && file < timeline.FileCount(); ++file) {
    const TelemetryTrack& track = tracks[file];
    const auto offset = static_cast<std::uint32_t>(timeline.StartMs(file));
    if (joined.layout.empty()) joined.layout = track.layout;
    if (joined.warning.empty()) joined.warning = track.warning;
    for (GpsSample fix : track.gps) {
      fix.mediaMs += offset;
      joined.gps.push_back(fix);
    }
    for (AccelSample sample : track.accel) {
      sample.mediaMs += offset;
      joined.accel.push_back(sample);
    }
  }
  return joined;
}

}  // namespace vx
