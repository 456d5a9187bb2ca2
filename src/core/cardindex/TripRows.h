// The rows of the recording list's trips view: one per trip with its recordings under it, as texts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/cardindex/EventRows.h"
#include "core/cardindex/RecordingSummary.h"
#include "core/cardindex/Trips.h"

namespace vx {

struct TripRecordingRow {
  std::string path;      // the file to play, bytes as the file system gives them
  std::string name;      // the file name
  std::string start;     // local time of day "HH:MM:SS"
  std::string end;       // the same, or the whole date and time when it falls on another day than the start
  std::string duration;  // "m:ss", from an hour on "h:mm:ss"
  std::string distance;  // kilometres, "1.2"
  std::int64_t durationMs = 0;
  std::string problem;   // why the recording cannot be read; empty when it could
};

struct TripRow {
  std::string date;  // local date of the start "YYYY-MM-DD"
  std::string start;
  std::string end;
  std::string duration;
  std::string distance;
  std::vector<TripRecordingRow> recordings;  // in time order
};

// The trips of the recordings by `rules`, in time order. `timeText` writes "YYYY-MM-DD HH:MM:SS".
std::vector<TripRow> MakeTripRows(const std::vector<RecordingSummary>& recordings, const TripRules& rules = {},
                                  const EventTimeText& timeText = LocalDateTimeText);

}  // namespace vx
