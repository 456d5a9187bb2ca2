// Geometry of the acceleration plot: 461 x 160 pixels, the first minute across, -4 g .. 4 g from bottom to
// top, and the three traces with their pens.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <span>

#include "core/telemetry/TelemetryTrack.h"

namespace vx {

inline constexpr int kPlotWidth = 461;
inline constexpr int kPlotHeight = 160;
inline constexpr int kPlotLeft = 46;  // where the plot stands in the graph window
inline constexpr int kPlotTop = 31;
inline constexpr int kPlotCentreY = 80;
inline constexpr std::uint32_t kPlotLastMs = 60'000;  // later samples are not drawn

// x = time x (460 / 60 000) in double precision, truncated: 460 for 60 000 ms.
int PlotX(std::uint32_t timeMs);
// y = 80 - g x 20 (the axis is labelled 4.00 to -4.00 in steps of 20 pixels), truncated toward zero:
// 4 g -> 0, 0 -> 80, -3.96875 g -> 159. Values far off the plot are held a plot's height beyond its edges,
// where they are clipped just the same.
int PlotY(double g);

// The marker's column for a playback position; none for position 0. Positions from 60 131 ms on give
// columns past the plot, where nothing shows.
std::optional<int> PlotMarkerX(std::uint32_t positionMs);

struct PlotPoint {
  int x;
  int y;
  friend bool operator==(const PlotPoint&, const PlotPoint&) = default;
};

enum class PlotAxis { X, Y, Z };

// A trace's polyline: (0, 80), then every sample of the first minute in array order, except those whose
// value is no number. Only the start point when there are no samples.
std::vector<PlotPoint> TracePoints(std::span<const AccelSample> samples, PlotAxis axis);

// Pen colours as 0xRRGGBB, in drawing order X, Y, Z, then the marker. X is 254 green, not 255: pure green is
// the transparent colour of the window's pictures.
inline constexpr std::uint32_t kTraceColours[3] = {0x00FE00, 0xFF0000, 0x0000FF};
inline constexpr std::uint32_t kMarkerColour = 0xFF8A48;

}  // namespace vx
