// Opaque runs of a bitmap as one-pixel-high rectangles, the shape of a skinned window cut by a key colour.
#include "core/widgets/RegionRuns.h"

#include <algorithm>
#include <vector>

namespace vx {
namespace {

constexpr std::uint32_t kTolerance = 16;

bool InRange(std::uint32_t value, std::uint32_t key) { return value >= key && value <= std::min(key + kTolerance, 255u); }

}  // namespace

bool IsKeyColour(std::uint32_t pixel, std::uint32_t key) {
  const std::uint32_t red = (pixel >> 16) & 0xFF;
  const std::uint32_t green = (pixel >> 8) & 0xFF;
  const std::uint32_t blue = pixel & 0xFF;
  return InRange(red, key & 0xFF) && InRange(green, (key >> 8) & 0xFF) && InRange(blue, (key >> 16) & 0xFF);
}

void CollectRegionRuns(const PixelView& view, std::uint32_t key,
                       const std::function<void(std::span<const RegionRect>)>& onBatch) {
  std::vector<RegionRect> batch;
  batch.reserve(std::min<std::size_t>(kRegionBatchSize, 100));
  for (int y = 0; y < view.height; ++y) {
    const std::uint32_t* row = view.pixels + static_cast<std::size_t>(y) * view.stride;
    for (int x = 0; x < view.width; ++x) {
      const int start = x;
      while (x < view.width && !IsKeyColour(row[x], key)) ++x;
      if (x == start) continue;
      batch.push_back({start, y, x, y + 1});
      if (batch.size() == kRegionBatchSize) {
        onBatch(batch);
        batch.clear();
      }
    }
  }
  onBatch(batch);
}

}  // namespace vx
