// Marks, their UTC times, the export's default name and its time left.
#include "core/export/SpanMarks.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace vx {

void MarkedSpan::SetIn(std::int64_t ms) {
  inMs = ms;
  if (outMs && *outMs <= ms) outMs.reset();
}

void MarkedSpan::SetOut(std::int64_t ms) {
  outMs = ms;
  if (inMs && *inMs >= ms) inMs.reset();
}

std::string MarkedSpan::Problem() const {
  if (!inMs && !outMs) return "Mark the span first: I sets its start, O its end, at the playing moment.";
  if (!inMs) return "The span has no start: press I at its first moment.";
  if (!outMs) return "The span has no end: press O at its last moment.";
  return {};
}

std::int64_t TimelineUtcMs(std::span<const std::int64_t> startsUtcMs, const TripTimeline& timeline,
                           std::int64_t timelineMs, bool isEnd) {
  TripMoment moment = timeline.Locate(timelineMs);
  if (isEnd && moment.fileMs == 0 && moment.file > 0) {
    moment.file -= 1;
    moment.fileMs = timeline.DurationMs(moment.file);
  }
  const std::int64_t start = moment.file < startsUtcMs.size() ? startsUtcMs[moment.file] : 0;
  return start + moment.fileMs;
}

namespace {

// "101505" of a clock reading in milliseconds since 1970.
std::string ClockText(std::int64_t clockMs) {
  const auto seconds = static_cast<std::time_t>(clockMs >= 0 ? clockMs / 1000 : (clockMs - 999) / 1000);
  std::tm tm{};
  char text[16] = "";
  if (gmtime_r(&seconds, &tm)) std::strftime(text, sizeof text, "%H%M%S", &tm);
  return text;
}

// "0m05s" of an offset in the recording.
std::string OffsetText(std::int64_t ms) {
  const std::int64_t seconds = std::max<std::int64_t>(ms, 0) / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%lldm%02llds", static_cast<long long>(seconds / 60),
                static_cast<long long>(seconds % 60));
  return text;
}

}  // namespace

std::string DefaultExportName(const std::string& recordingPath, std::int64_t fromMs, std::int64_t toMs,
                              std::optional<std::int64_t> recordingClockMs) {
  const std::string stem = std::filesystem::path(recordingPath).stem().string();
  const std::string span = recordingClockMs
                               ? ClockText(*recordingClockMs + fromMs) + "-" + ClockText(*recordingClockMs + toMs)
                               : OffsetText(fromMs) + "-" + OffsetText(toMs);
  return (stem.empty() ? std::string("export") : stem) + "_" + span + ".mp4";
}

std::optional<std::int64_t> ExportTimeLeftMs(std::int64_t doneMs, std::int64_t totalMs, std::int64_t elapsedMs) {
  if (doneMs <= 0 || elapsedMs < 0) return std::nullopt;
  const std::int64_t rest = std::max<std::int64_t>(totalMs - doneMs, 0);
  return static_cast<std::int64_t>(static_cast<double>(elapsedMs) * static_cast<double>(rest) /
                                   static_cast<double>(doneMs));
}

std::string TimeLeftText(std::optional<std::int64_t> leftMs) {
  if (!leftMs) return "estimating the time left";
  const std::int64_t seconds = (*leftMs + 999) / 1000;  // never "0 s left" while something is
  char text[48];
  if (seconds < 60) std::snprintf(text, sizeof text, "about %lld s left", static_cast<long long>(seconds));
  else std::snprintf(text, sizeof text, "about %lld min %02lld s left", static_cast<long long>(seconds / 60),
                     static_cast<long long>(seconds % 60));
  return text;
}

}  // namespace vx
