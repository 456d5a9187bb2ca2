// Arithmetic of the whole-recording G graph.
#include "core/views/WholeGraph.h"

#include <algorithm>
#include <cmath>

namespace vx {
namespace {

constexpr double kLowestTopG = 2.0;

bool EarlierMs(const GMagnitude& a, const GMagnitude& b) { return a.mediaMs < b.mediaMs; }

}  // namespace

std::vector<GMagnitude> MagnitudeCurve(std::span<const AccelSample> samples) {
  std::vector<GMagnitude> curve;
  curve.reserve(samples.size());
  for (const AccelSample& sample : samples) {
    const double g = std::sqrt(sample.x * sample.x + sample.y * sample.y + sample.z * sample.z);
    if (std::isfinite(g)) curve.push_back({sample.mediaMs, g});
  }
  std::ranges::stable_sort(curve, EarlierMs);
  return curve;
}

double WholeGraphTopG(std::span<const GMagnitude> curve) {
  double top = kLowestTopG;
  for (const GMagnitude& sample : curve) top = std::max(top, std::ceil(sample.g));
  return top;
}

std::uint32_t WholeGraphLengthMs(std::uint32_t durationMs, std::span<const GMagnitude> curve) {
  return curve.empty() ? durationMs : std::max(durationMs, curve.back().mediaMs);
}

WholeGraphSpan VisibleSpan(std::uint32_t lengthMs, std::uint32_t positionMs, std::uint32_t spanMs) {
  if (lengthMs <= spanMs) return {0, lengthMs};
  const std::uint32_t half = spanMs / 2;
  const std::uint32_t start = std::min(positionMs > half ? positionMs - half : 0, lengthMs - spanMs);
  return {start, start + spanMs};
}

int WholeGraphArea::ColumnOf(std::uint32_t mediaMs) const {
  const double spanMs = std::max<double>(span.endMs - span.startMs, 1.0);
  return static_cast<int>(
      std::floor((static_cast<double>(mediaMs) - span.startMs) * (width - 1) / spanMs));
}

std::uint32_t WholeGraphArea::MsAt(int x) const {
  const int column = std::clamp(x, 0, width - 1);
  const double spanMs = span.endMs - span.startMs;
  return span.startMs + static_cast<std::uint32_t>(std::lround(column * spanMs / std::max(width - 1, 1)));
}

int WholeGraphArea::RowOf(double g) const {
  const double fraction = std::clamp(g / topG, 0.0, 1.0);
  return static_cast<int>(std::lround((height - 1) * (1.0 - fraction)));
}

std::vector<PlotPoint> WholeGraphPoints(std::span<const GMagnitude> curve, const WholeGraphArea& area) {
  const auto first = std::ranges::lower_bound(curve, GMagnitude{area.span.startMs, 0.0}, EarlierMs);
  const auto last = std::ranges::upper_bound(curve, GMagnitude{area.span.endMs, 0.0}, EarlierMs);
  std::vector<PlotPoint> points;
  const auto addColumn = [&](int x, double low, double high) {
    points.push_back({x, area.RowOf(low)});
    if (area.RowOf(high) != points.back().y) points.push_back({x, area.RowOf(high)});
  };
  int column = -1;
  double low = 0.0;
  double high = 0.0;
  for (auto sample = first; sample != last; ++sample) {
    const int x = area.ColumnOf(sample->mediaMs);
    if (x != column) {
      if (column >= 0) addColumn(column, low, high);
      column = x;
      low = high = sample->g;
    }
    low = std::min(low, sample->g);
    high = std::max(high, sample->g);
  }
  if (column >= 0) addColumn(column, low, high);
  return points;
}

std::vector<WholeGraphMark> WholeGraphMarks(std::span<const DetectedEvent> events, const WholeGraphArea& area) {
  std::vector<WholeGraphMark> marks;
  for (const DetectedEvent& event : events) {
    if (event.mediaMs >= area.span.startMs && event.mediaMs <= area.span.endMs) {
      marks.push_back({area.ColumnOf(event.mediaMs), event.kind});
    }
  }
  return marks;
}

}  // namespace vx
