// Opaque runs of a bitmap as one-pixel-high rectangles, the shape of a skinned window cut by a key colour.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace vx {

// A plain 32-bit pixel buffer, rows from the top, each pixel 0x??RRGGBB (the top byte is not read).
struct PixelView {
  const std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  std::size_t stride = 0;  // pixels from one row to the next
};

struct RegionRect {
  int left;
  int top;
  int right;   // exclusive
  int bottom;  // exclusive
  bool operator==(const RegionRect&) const = default;
};

// Runs handed to the region builder at once, at most.
inline constexpr std::size_t kRegionBatchSize = 2000;

// True when each channel of pixel lies in [k, min(k + 16, 255)] for the key's value k of that channel.
// The key is a colour value 0x00BBGGRR (red in the low byte).
bool IsKeyColour(std::uint32_t pixel, std::uint32_t key);

// Scans the rows top to bottom and hands every run of pixels outside the key's range to onBatch, in batches
// of at most kRegionBatchSize runs; the last call (always made, perhaps with no runs) carries the rest.
void CollectRegionRuns(const PixelView& view, std::uint32_t key,
                       const std::function<void(std::span<const RegionRect>)>& onBatch);

}  // namespace vx
