// Drives made of recordings that follow each other, from the card index's records in any order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/cardindex/RecordingSummary.h"

namespace vx {

struct Trip {
  std::int64_t startUtcMs = 0;
  std::int64_t endUtcMs = 0;
  std::int64_t durationMs = 0;
  double distanceM = 0.0;
  double maxSpeedKmh = 0.0;
  std::vector<std::string> recordings;  // paths, in time order
};

struct TripRules {
  std::int64_t maxGapMs = 5000;  // the next recording starts at most this long after the one before ends
  // Names carry whole seconds, so a recording that lasts a fraction longer than its slot seems to overlap
  // the next by less than a second; a longer overlap is a clock that went back.
  std::int64_t roundingMs = 1000;
};

// The trips of the recordings, in time order. A recording joins the trip whose last recording ended at most
// maxGapMs before it starts and no more than roundingMs after; two recordings whose times overlap (a camera
// whose clock was reset) are never joined.
std::vector<Trip> GroupTrips(const std::vector<RecordingSummary>& recordings, const TripRules& rules = {});

}  // namespace vx
