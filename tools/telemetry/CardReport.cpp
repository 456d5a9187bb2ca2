// Trip and event rows in the C locale, times in UTC to the millisecond.
#include "CardReport.h"

#include <ctime>

#include "core/cardindex/EventRows.h"
#include "core/common/CFormat.h"

namespace vx::telemetry {
namespace {

// "YYYY-MM-DDTHH:MM:SS.mmmZ"
std::string IsoUtcMs(std::int64_t utcMs) {
  std::int64_t seconds = utcMs / 1000, ms = utcMs % 1000;
  if (ms < 0) ms += 1000, --seconds;
  const auto flat = static_cast<std::time_t>(seconds);
  std::tm tm{};
  gmtime_r(&flat, &tm);
  char text[40];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &tm);
  char millis[8];
  std::snprintf(millis, sizeof millis, ".%03dZ", static_cast<int>(ms));
  return std::string(text) + millis;
}

// A file name as one CSV field: quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string Degrees(const std::optional<double>& value) { return value ? FormatFixed(*value, 6) : std::string(); }

}  // namespace

std::vector<std::string> TripRows(const std::vector<Trip>& trips) {
  std::vector<std::string> rows{"start_utc,end_utc,recordings,distance_m,max_kmh"};
  for (const Trip& t : trips) {
    rows.push_back(IsoUtcMs(t.startUtcMs) + "," + IsoUtcMs(t.endUtcMs) + "," + std::to_string(t.recordings.size()) +
                   "," + FormatFixed(t.distanceM, 1) + "," + FormatFixed(t.maxSpeedKmh, 1));
  }
  return rows;
}

std::vector<std::string> EventRows(const std::vector<RecordingSummary>& recordings) {
  std::vector<std::string> rows{"utc,file,offset_ms,kind,peak_g,latitude,longitude"};
  for (const RecordingSummary& r : recordings) {
    for (const DetectedEvent& e : r.events) {
      rows.push_back(IsoUtcMs(r.startUtcMs + e.mediaMs) + "," + CsvField(r.path) + "," + std::to_string(e.mediaMs) +
                     "," + EventKindName(e.kind) + "," + FormatFixed(e.peakG, 2) + "," + Degrees(e.latitude) + "," +
                     Degrees(e.longitude));
    }
  }
  return rows;
}

}  // namespace vx::telemetry
