// The span a user marks on the window's time line, its times on the card, the default name of its export,
// and the time an export has left.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/player/TripTimeline.h"

namespace vx {

// In and out points on the time line that plays (a recording's, or a trip's). A point set past the other one
// drops the other, so that the marks never stand the wrong way round.
struct MarkedSpan {
  std::optional<std::int64_t> inMs;
  std::optional<std::int64_t> outMs;

  void SetIn(std::int64_t ms);
  void SetOut(std::int64_t ms);
  void Clear() { *this = {}; }
  // Why the marks cannot be exported yet; empty when they can.
  std::string Problem() const;
};

// The UTC time of `timelineMs` on a time line whose recordings start at `startsUtcMs` (one per recording of
// `timeline`). An end at a join belongs to the recording that ends there, so that a span ending at a
// recording's end never reaches into the next one (the time between two recordings is not on the card).
std::int64_t TimelineUtcMs(std::span<const std::int64_t> startsUtcMs, const TripTimeline& timeline,
                           std::int64_t timelineMs, bool isEnd);

// "20261206_101500_E01_101505-101525.mp4": the first recording's name, then the span's first and last moments
// on the card's clock (`recordingClockMs`, when the recording started by it, in milliseconds since 1970 as
// that clock reads), else the span's offsets in the recording ("_0m05s-0m25s"). `fromMs` and `toMs` count
// from the recording's start.
std::string DefaultExportName(const std::string& recordingPath, std::int64_t fromMs, std::int64_t toMs,
                              std::optional<std::int64_t> recordingClockMs);

// How long an export has left at the rate it has gone so far; nothing before it has written anything.
std::optional<std::int64_t> ExportTimeLeftMs(std::int64_t doneMs, std::int64_t totalMs, std::int64_t elapsedMs);

// "about 45 s left", "about 2 min 05 s left"; "estimating the time left" without an estimate.
std::string TimeLeftText(std::optional<std::int64_t> leftMs);

}  // namespace vx
