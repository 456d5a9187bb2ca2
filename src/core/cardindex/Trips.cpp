// Joins recordings into trips by their times, keeping only the trips a later recording could still join.
#include "core/cardindex/Trips.h"

#include <algorithm>
#include <optional>
#include <tuple>

namespace vx {
namespace {

std::int64_t EndOf(const RecordingSummary& r) { return r.startUtcMs + static_cast<std::int64_t>(r.durationMs); }

void Append(Trip& trip, const RecordingSummary& r) {
  if (trip.recordings.empty()) trip.startUtcMs = r.startUtcMs, trip.endUtcMs = EndOf(r);
  trip.endUtcMs = std::max(trip.endUtcMs, EndOf(r));
  trip.durationMs = trip.endUtcMs - trip.startUtcMs;
  trip.distanceM += r.distanceM;
  trip.maxSpeedKmh = std::max(trip.maxSpeedKmh, r.maxSpeedKmh);
  trip.recordings.push_back(r.path);
}

}  // namespace

std::vector<Trip> GroupTrips(const std::vector<RecordingSummary>& recordings, const TripRules& rules) {
  std::vector<const RecordingSummary*> order;
  for (const RecordingSummary& r : recordings) order.push_back(&r);
  std::sort(order.begin(), order.end(), [](const RecordingSummary* a, const RecordingSummary* b) {
    return std::tie(a->startUtcMs, a->path) < std::tie(b->startUtcMs, b->path);
  });
  std::vector<Trip> trips;
  std::vector<std::size_t> open;  // trips a later recording may still join
  for (const RecordingSummary* r : order) {
    // Starts only grow, so a trip that ended more than a gap before this start is closed for good.
    std::erase_if(open, [&](std::size_t t) { return trips[t].endUtcMs + rules.maxGapMs < r->startUtcMs; });
    const auto joins = [&](std::size_t t) { return trips[t].endUtcMs <= r->startUtcMs + rules.roundingMs; };
    std::optional<std::size_t> chosen;
    for (const std::size_t t : open) {
      if (joins(t) && (!chosen || trips[t].endUtcMs > trips[*chosen].endUtcMs)) chosen = t;
    }
    if (!chosen) {
      trips.emplace_back();
      open.push_back(trips.size() - 1);
      chosen = trips.size() - 1;
    }
    Append(trips[*chosen], *r);
  }
  std::stable_sort(trips.begin(), trips.end(), [](const Trip& a, const Trip& b) { return a.startUtcMs < b.startUtcMs; });
  return trips;
}

}  // namespace vx
