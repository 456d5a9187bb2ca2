// Geometry of the whole-recording G graph: |G| over a span of the recording that scrolls with the playing
// position, reduced to one min/max pair per pixel column, with the events' columns and the g scale.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/cardindex/RecordingSummary.h"
#include "core/telemetry/TelemetryTrack.h"
#include "core/views/PlotGeometry.h"

namespace vx {

// Longer recordings show this much of themselves at a time.
inline constexpr std::uint32_t kWholeGraphSpanMs = 120'000;

// |G| of one accelerometer sample.
struct GMagnitude {
  std::uint32_t mediaMs = 0;
  double g = 0.0;
};

// The samples' |G| in time order (equal times keep their order), without samples whose value is no number.
// Made once per recording, so that every drawing finds its span by a binary search.
std::vector<GMagnitude> MagnitudeCurve(std::span<const AccelSample> samples);

// The top of the g scale, the same for the whole recording so that it holds still while the span scrolls:
// the largest |G| rounded up to a whole g, at least 2 g.
double WholeGraphTopG(std::span<const GMagnitude> curve);

// The recording's length as drawn: its duration, or its last sample's time where that is later (a duration
// not yet known is 0).
std::uint32_t WholeGraphLengthMs(std::uint32_t durationMs, std::span<const GMagnitude> curve);

struct WholeGraphSpan {
  std::uint32_t startMs = 0;
  std::uint32_t endMs = 0;
  friend bool operator==(const WholeGraphSpan&, const WholeGraphSpan&) = default;
};

// The whole recording when it is no longer than `spanMs`; else `spanMs` with the position in the middle,
// held within the recording at either end, so the position is always in view.
WholeGraphSpan VisibleSpan(std::uint32_t lengthMs, std::uint32_t positionMs,
                           std::uint32_t spanMs = kWholeGraphSpanMs);

// Pixel arithmetic of a plot `width` x `height` showing `span` over 0 .. `topG` from bottom to top.
struct WholeGraphArea {
  WholeGraphSpan span;
  int width = 1;
  int height = 1;
  double topG = 2.0;

  // The column of a time; times outside the span give columns outside 0 .. width - 1.
  int ColumnOf(std::uint32_t mediaMs) const;
  // The time a column stands for, the first column the span's start and the last its end.
  std::uint32_t MsAt(int x) const;
  // 0 at the bottom row, topG at the top one; values beyond are held at the edges.
  int RowOf(double g) const;
};

// The polyline of |G| over the span: for each column that holds samples its lowest then its highest |G|
// (one point when they meet), so that a 3-hour log draws with no more points than a 10-second one.
std::vector<PlotPoint> WholeGraphPoints(std::span<const GMagnitude> curve, const WholeGraphArea& area);

struct WholeGraphMark {
  int x = 0;
  DetectedEvent::Kind kind = DetectedEvent::Kind::Impact;
  friend bool operator==(const WholeGraphMark&, const WholeGraphMark&) = default;
};

// The events that fall within the span, at their columns.
std::vector<WholeGraphMark> WholeGraphMarks(std::span<const DetectedEvent> events, const WholeGraphArea& area);

}  // namespace vx
