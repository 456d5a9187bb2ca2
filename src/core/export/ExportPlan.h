// What an export covers: a span of the drive cut into the pieces of the recordings that hold it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/cardindex/RecordingSummary.h"
#include "core/cardindex/Trips.h"

namespace vx {

// An event's span reaches this far before and after it.
inline constexpr std::int64_t kEventSpanMs = 10'000;

struct ExportSpan {
  std::int64_t fromUtcMs = 0;
  std::int64_t toUtcMs = 0;
};

// The part of one recording inside the span, in its own media time.
struct ExportPiece {
  std::string path;
  std::int64_t recordingStartUtcMs = 0;
  std::uint32_t fromMs = 0;
  std::uint32_t toMs = 0;
  std::uint32_t recordingDurationMs = 0;
};

struct ExportPlan {
  std::vector<ExportPiece> pieces;  // in time order; empty with `problem` set when nothing can be exported
  std::string problem;
  std::int64_t DurationMs() const;
  // The piece playing at `outputMs` of the export and the media time in it; the last piece past the end.
  std::pair<const ExportPiece*, std::uint32_t> PieceAt(std::int64_t outputMs) const;
  // Start and end of the span on the time of the pieces' recordings played one after another.
  std::pair<std::int64_t, std::int64_t> JoinedSpanMs() const;
};

// The recordings a span may cross: the trip holding `path` where the recordings form trips, else that
// recording alone; in time order. Empty when `path` is none of `card`.
std::vector<RecordingSummary> ChainOf(std::span<const RecordingSummary> card, const std::string& path,
                                      const TripRules& rules = {});

// The pieces of `chain` inside `span`. A span that starts before the first recording or ends after the last,
// or that is empty, gives a problem naming what the recordings hold; a gap between recordings is left out.
ExportPlan PlanExport(std::span<const RecordingSummary> chain, const ExportSpan& span);

// `kEventSpanMs` either side of an event at `eventUtcMs`, kept within the chain's recordings.
ExportSpan EventSpan(std::span<const RecordingSummary> chain, std::int64_t eventUtcMs);

// A moment given on the command line: ISO 8601 date and time ("2026-12-06T08:15:03", fractions of a second,
// "Z" or "+09:00" allowed), taken in `zoneMinutes` (UTC when unknown) where it states no offset; or seconds
// from `firstStartUtcMs` ("12.5"). Nothing when the text is neither.
std::optional<std::int64_t> ParseSpanTime(const std::string& text, std::optional<int> zoneMinutes,
                                          std::int64_t firstStartUtcMs);

// One sentence on how copying whole key-frame intervals changed a span: "as marked" when it did not.
std::string WideningText(const ExportSpan& asked, const ExportSpan& written);

}  // namespace vx
