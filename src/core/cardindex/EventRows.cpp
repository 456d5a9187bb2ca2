// The events window's rows: texts in the C locale, local times, and the lead-in before each event.
#include "core/cardindex/EventRows.h"

#include <algorithm>
#include <ctime>
#include <tuple>

#include "core/common/CFormat.h"
#include "core/telemetry/RecordingStart.h"

namespace vx {
namespace {

// The whole seconds of a time (rounded down, before 1970 too) in the calendar `convert` gives.
std::string DateTimeText(std::int64_t utcMs, std::tm* (*convert)(const std::time_t*, std::tm*)) {
  std::int64_t seconds = utcMs / 1000;
  if (utcMs % 1000 < 0) --seconds;
  const auto flat = static_cast<std::time_t>(seconds);
  std::tm tm{};
  if (!convert(&flat, &tm)) return {};
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
  return text;
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string PlaceText(const DetectedEvent& event) {
  if (!event.latitude || !event.longitude) return {};
  return FormatFixed(*event.latitude, 5) + ", " + FormatFixed(*event.longitude, 5);
}

EventRow EventRowOf(const RecordingSummary& recording, const DetectedEvent& event, const EventTimeText& timeText) {
  EventRow row;
  row.utcMs = recording.startUtcMs + event.mediaMs;
  row.recordingPath = recording.path;
  row.playFromMs = event.mediaMs > kEventLeadInMs ? event.mediaMs - kEventLeadInMs : 0;
  row.time = timeText(row.utcMs);
  row.kind = EventKindName(event.kind);
  row.strength = EventStrengthText(event);
  row.place = PlaceText(event);
  row.recording = FileNameOf(recording.path);
  return row;
}

EventRow UnreadableRowOf(const RecordingSummary& recording, const EventTimeText& timeText) {
  EventRow row;
  row.utcMs = recording.startUtcMs;
  row.recordingPath = recording.path;
  row.time = timeText(row.utcMs);
  row.kind = recording.problem;
  row.recording = FileNameOf(recording.path);
  row.unreadable = true;
  return row;
}

}  // namespace

std::string EventStrengthText(const DetectedEvent& event) {
  if (event.kind == DetectedEvent::Kind::CameraEvent) return {};
  return FormatFixed(event.peakG, 2) + " g";
}

const char* EventKindName(DetectedEvent::Kind kind) {
  switch (kind) {
    case DetectedEvent::Kind::HardBraking: return "hard braking";
    case DetectedEvent::Kind::HardAcceleration: return "hard acceleration";
    case DetectedEvent::Kind::SharpTurn: return "sharp turn";
    case DetectedEvent::Kind::Impact: return "impact";
    case DetectedEvent::Kind::CameraEvent: return "camera event";
  }
  return "";
}

const char* EventKindShortName(DetectedEvent::Kind kind) {
  switch (kind) {
    case DetectedEvent::Kind::HardBraking: return "brake";
    case DetectedEvent::Kind::HardAcceleration: return "accel";
    case DetectedEvent::Kind::SharpTurn: return "turn";
    case DetectedEvent::Kind::Impact: return "impact";
    case DetectedEvent::Kind::CameraEvent: return "camera";
  }
  return "";
}

std::string LocalDateTimeText(std::int64_t utcMs) { return DateTimeText(utcMs, localtime_r); }

EventTimeText CardDateTimeText(std::span<const RecordingSummary> recordings) {
  const std::optional<int> zoneMinutes =
      recordings.empty() ? std::nullopt : CardSetupZoneMinutes(recordings.front().path);
  if (!zoneMinutes) return LocalDateTimeText;
  return [shiftMs = std::int64_t{*zoneMinutes} * 60'000](std::int64_t utcMs) {
    std::int64_t cardMs = 0;  // a time read from a damaged cache may lie at the end of the range
    return __builtin_add_overflow(utcMs, shiftMs, &cardMs) ? std::string() : DateTimeText(cardMs, gmtime_r);
  };
}

std::vector<EventRow> MakeEventRows(std::span<const RecordingSummary> recordings, const EventTimeText& timeText) {
  std::vector<EventRow> rows;
  for (const RecordingSummary& recording : recordings) {
    if (!recording.problem.empty()) rows.push_back(UnreadableRowOf(recording, timeText));
    for (const DetectedEvent& event : recording.events) rows.push_back(EventRowOf(recording, event, timeText));
  }
  std::stable_sort(rows.begin(), rows.end(), [](const EventRow& a, const EventRow& b) {
    return std::tie(a.utcMs, a.recordingPath, a.playFromMs) < std::tie(b.utcMs, b.recordingPath, b.playFromMs);
  });
  return rows;
}

}  // namespace vx
