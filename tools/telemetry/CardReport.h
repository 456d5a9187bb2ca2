// CSV of a card's trips and events, over the recordings below a folder.
#pragma once

#include <string>
#include <vector>

#include "core/cardindex/RecordingSummary.h"
#include "core/cardindex/Trips.h"

namespace vx::telemetry {

// "start_utc,end_utc,recordings,distance_m,max_kmh" and one row per trip.
std::vector<std::string> TripRows(const std::vector<Trip>& trips);
// "utc,file,offset_ms,kind,peak_g,latitude,longitude" and one row per event of the recordings.
std::vector<std::string> EventRows(const std::vector<RecordingSummary>& recordings);

}  // namespace vx::telemetry
