// The trips view's texts: local dates and times split so that a trip's date is written once.
#include "core/cardindex/TripRows.h"

#include <algorithm>
#include <unordered_map>

#include "core/common/CFormat.h"

namespace vx {
namespace {

constexpr std::size_t kDateLength = 10;  // "YYYY-MM-DD"

std::string DateOf(const std::string& dateTime) { return dateTime.substr(0, kDateLength); }

std::string TimeOfDayOf(const std::string& dateTime) {
  return dateTime.size() > kDateLength + 1 ? dateTime.substr(kDateLength + 1) : dateTime;
}

struct Span {
  std::string start;
  std::string end;
};

// The end carries its date only when the span crosses midnight.
Span SpanText(std::int64_t startUtcMs, std::int64_t endUtcMs, const EventTimeText& timeText) {
  const std::string start = timeText(startUtcMs);
  const std::string end = timeText(endUtcMs);
  return {TimeOfDayOf(start), DateOf(start) == DateOf(end) ? TimeOfDayOf(end) : end};
}

// "m:ss", or "h:mm:ss" from an hour on: the list is narrow and most recordings last minutes.
std::string DurationText(std::int64_t ms) {
  const std::int64_t seconds = std::max<std::int64_t>(ms, 0) / 1000;
  const auto twoDigits = [](std::int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
  const std::string secondsText = ":" + twoDigits(seconds % 60);
  if (seconds < 3600) return std::to_string(seconds / 60) + secondsText;
  return std::to_string(seconds / 3600) + ":" + twoDigits(seconds / 60 % 60) + secondsText;
}

// Kilometres without the unit, which the column title names: the list is narrow.
std::string DistanceText(double metres) { return FormatFixed(metres / 1000.0, 1); }

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

TripRecordingRow RecordingRowOf(const RecordingSummary& r, const EventTimeText& timeText) {
  TripRecordingRow row;
  row.path = r.path;
  row.name = FileNameOf(r.path);
  row.problem = r.problem;
  const std::int64_t durationMs = r.durationMs;
  const Span span = SpanText(r.startUtcMs, r.startUtcMs + durationMs, timeText);
  row.start = span.start;
  if (!r.problem.empty()) return row;  // nothing but its name's time is known
  row.end = span.end;
  row.duration = DurationText(durationMs);
  row.durationMs = durationMs;
  row.distance = DistanceText(r.distanceM);
  return row;
}

}  // namespace

std::vector<TripRow> MakeTripRows(const std::vector<RecordingSummary>& recordings, const TripRules& rules,
                                  const EventTimeText& timeText) {
  std::unordered_map<std::string, const RecordingSummary*> byPath;
  for (const RecordingSummary& r : recordings) byPath.emplace(r.path, &r);
  std::vector<TripRow> rows;
  for (const Trip& trip : GroupTrips(recordings, rules)) {
    TripRow row;
    row.date = DateOf(timeText(trip.startUtcMs));
    const Span span = SpanText(trip.startUtcMs, trip.endUtcMs, timeText);
    row.start = span.start;
    row.end = span.end;
    row.duration = DurationText(trip.durationMs);
    row.distance = DistanceText(trip.distanceM);
    for (const std::string& path : trip.recordings) row.recordings.push_back(RecordingRowOf(*byPath.at(path), timeText));
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace vx
