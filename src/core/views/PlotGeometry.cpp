// Plot arithmetic of the acceleration graph.
#include "core/views/PlotGeometry.h"

namespace vx {
namespace {

constexpr double kPixelsPerMs = 460.0 / 60000.0;

std::int32_t AxisValue(const CGSensorData& sample, PlotAxis axis) {
  switch (axis) {
    case PlotAxis::X: return sample.x;
    case PlotAxis::Y: return sample.y;
    case PlotAxis::Z: return sample.z;
  }
  return 0;
}

}  // namespace

int PlotX(std::uint32_t timeMs) { return static_cast<int>(static_cast<double>(timeMs) * kPixelsPerMs); }

int PlotY(std::int32_t value) { return static_cast<int>(kPlotCentreY - static_cast<double>(value) * 0.625); }

std::optional<int> PlotMarkerX(std::uint32_t positionMs) {
  if (positionMs == 0) return std::nullopt;
  return PlotX(positionMs);
}

std::vector<PlotPoint> TracePoints(const CArray<CGSensorData>& samples, PlotAxis axis) {
  std::vector<PlotPoint> points{{0, kPlotCentreY}};
  for (const CGSensorData& sample : samples) {
    if (sample.time <= kPlotLastMs) points.push_back({PlotX(sample.time), PlotY(AxisValue(sample, axis))});
  }
  return points;
}

}  // namespace vx
