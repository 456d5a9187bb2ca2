// One time line across the recordings of a trip: trip time <-> (recording, time in it), and the trip's
// telemetry as one track on that time line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/telemetry/TelemetryTrack.h"

namespace vx {

struct TripMoment {
  std::size_t file = 0;     // index of the recording in the trip
  std::int64_t fileMs = 0;  // time in that recording
  bool operator==(const TripMoment&) const = default;
};

class TripTimeline {
 public:
  // The recordings' lengths in trip order; a negative length counts as 0.
  explicit TripTimeline(std::vector<std::int64_t> durationsMs = {});

  std::size_t FileCount() const { return m_durations.size(); }
  std::int64_t TotalMs() const { return m_starts.empty() ? 0 : m_starts.back() + m_durations.back(); }
  std::int64_t DurationMs(std::size_t file) const { return file < FileCount() ? m_durations[file] : 0; }
  // Where the recording begins on the trip's time line (the total for an index past the last).
  std::int64_t StartMs(std::size_t file) const { return file < FileCount() ? m_starts[file] : TotalMs(); }
  // The trip time of a moment in a recording, the moment held within that recording.
  std::int64_t TripMs(std::size_t file, std::int64_t fileMs) const;
  // The recording and its time at trip time `tripMs`, held within the trip. A join belongs to the recording
  // that starts there (its first picture is what plays at that moment); the trip's end is the last one's end.
  TripMoment Locate(std::int64_t tripMs) const;
  // The recording that NEXT (`forward`) or PREV moves to from `file`, played from its start: the one after or
  // before it, passing over recordings of no length as Locate does. Nothing past the trip's last recording or
  // before its first: there the list's own rule for its last and first row applies.
  std::optional<std::size_t> StepFile(std::size_t file, bool forward) const;
  // A recording's length as its player measures it, which can differ from the card index's by some
  // milliseconds: the recordings after it move with it.
  void SetDurationMs(std::size_t file, std::int64_t durationMs);

 private:
  void Accumulate();

  std::vector<std::int64_t> m_durations;
  std::vector<std::int64_t> m_starts;
};

// The recordings' tracks (in trip order, one per recording) as one track in trip time: each sample moved by
// its recording's start. The layout and the warning are the first recording's that has one.
TelemetryTrack JoinTripTelemetry(const std::vector<TelemetryTrack>& tracks, const TripTimeline& timeline);

}  // namespace vx
