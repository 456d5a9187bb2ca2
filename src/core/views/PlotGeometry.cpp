// Plot arithmetic of the acceleration graph.
#include "core/views/PlotGeometry.h"

#include <algorithm>
#include <cmath>

namespace vx {
namespace {

constexpr double kPixelsPerMs = 460.0 / 60000.0;
constexpr double kPixelsPerG = 20.0;

double AxisValue(const AccelSample& sample, PlotAxis axis) {
  switch (axis) {
    case PlotAxis::X: return sample.x;
    case PlotAxis::Y: return sample.y;
    case PlotAxis::Z: return sample.z;
  }
  return 0.0;
}

}  // namespace

int PlotX(std::uint32_t timeMs) { return static_cast<int>(static_cast<double>(timeMs) * kPixelsPerMs); }

int PlotY(double g) {
  const double y = kPlotCentreY - g * kPixelsPerG;
  return static_cast<int>(std::clamp<double>(y, -kPlotHeight, 2.0 * kPlotHeight));
}

std::optional<int> PlotMarkerX(std::uint32_t positionMs) {
  if (positionMs == 0) return std::nullopt;
  return PlotX(positionMs);
}

std::vector<PlotPoint> TracePoints(std::span<const AccelSample> samples, PlotAxis axis) {
  std::vector<PlotPoint> points{{0, kPlotCentreY}};
  for (const AccelSample& sample : samples) {
    const double g = AxisValue(sample, axis);
    if (sample.mediaMs <= kPlotLastMs && std::isfinite(g)) points.push_back({PlotX(sample.mediaMs), PlotY(g)});
  }
  return points;
}

}  // namespace vx
