// Tests of the opaque-run scan that shapes skinned windows: key ranges, row edges and batching.
#include "core/widgets/RegionRuns.h"

#include <gtest/gtest.h>

#include <vector>

namespace vx {
namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kMagenta = 0xFF00FF;  // 0x00BBGGRR
constexpr std::uint32_t kYellowKey = 0x00FFFF;

std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return (r << 16) | (g << 8) | b; }

struct Bitmap {
  int width;
  int height;
  std::vector<std::uint32_t> pixels;
  Bitmap(int w, int h, std::uint32_t fill) : width(w), height(h), pixels(static_cast<std::size_t>(w * h), fill) {}
  std::uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
  PixelView View() const { return {pixels.data(), width, height, static_cast<std::size_t>(width)}; }
};

struct Collected {
  std::vector<RegionRect> runs;
  std::vector<std::size_t> batchSizes;
};

Collected Collect(const Bitmap& bitmap, std::uint32_t key) {
  Collected out;
  CollectRegionRuns(bitmap.View(), key, [&](std::span<const RegionRect> batch) {
    out.batchSizes.push_back(batch.size());
    out.runs.insert(out.runs.end(), batch.begin(), batch.end());
  });
  return out;
}

TEST(RegionRuns, KeyRangeIsCheckedPerChannel) {
  const struct {
    std::uint32_t pixel, key;
    bool transparent;
  } cases[] = {
      {Rgb(255, 16, 255), kMagenta, true},   {Rgb(255, 17, 255), kMagenta, false},  // k to k + 16
      {Rgb(250, 0, 255), kMagenta, false},   // red below the key's 255
      {Rgb(255, 255, 16), kYellowKey, true}, {Rgb(16, 255, 255), kYellowKey, false},  // red in the low byte
      {Rgb(255, 0, 255) | 0xFF000000u, kMagenta, true},  // the fourth byte is not read
      {Rgb(255, 0, 0), 250, true},           {Rgb(249, 0, 0), 250, false},  // red 250: [250, 255]
  };
  for (const auto& c : cases) EXPECT_EQ(IsKeyColour(c.pixel, c.key), c.transparent) << std::hex << c.pixel;
}

TEST(RegionRuns, RunsStartAfterKeyPixelsAndEndAtTheRightEdge) {
  EXPECT_EQ(Collect(Bitmap(7, 2, Rgb(40, 40, 40)), kBlack).runs, (std::vector<RegionRect>{{0, 0, 7, 1}, {0, 1, 7, 2}}));
  Bitmap bitmap(6, 2, Rgb(200, 10, 10));
  bitmap.At(0, 0) = bitmap.At(2, 0) = bitmap.At(3, 0) = bitmap.At(5, 1) = 0;
  const Collected out = Collect(bitmap, kBlack);
  EXPECT_EQ(out.runs, (std::vector<RegionRect>{{1, 0, 2, 1}, {4, 0, 6, 1}, {0, 1, 5, 2}}));
  EXPECT_EQ(out.batchSizes, std::vector<std::size_t>{3});
}

TEST(RegionRuns, ReadsRowsThroughTheStride) {
  std::vector<std::uint32_t> pixels = {Rgb(90, 90, 90), 0, 0xDEAD, 0, Rgb(90, 90, 90), 0xDEAD};
  const PixelView view{pixels.data(), 2, 2, 3};
  std::vector<RegionRect> runs;
  CollectRegionRuns(view, kBlack, [&](std::span<const RegionRect> b) { runs.assign(b.begin(), b.end()); });
  EXPECT_EQ(runs, (std::vector<RegionRect>{{0, 0, 1, 1}, {1, 1, 2, 2}}));
}

TEST(RegionRuns, RunsArriveInBatchesOfTwoThousandAndALastBatchAlwaysFollows) {
  const std::pair<int, std::vector<std::size_t>> cases[] = {{0, {0}}, {2000, {2000, 0}}, {2001, {2000, 1}}};
  for (const auto& [runs, batches] : cases) {
    // Single-pixel runs on the even columns of one row.
    Bitmap bitmap(2 * runs + 1, 1, 0);
    for (int x = 0; x < 2 * runs; x += 2) bitmap.At(x, 0) = Rgb(255, 255, 255);
    const Collected out = Collect(bitmap, kBlack);
    EXPECT_EQ(out.batchSizes, batches) << runs << " runs";
    ASSERT_EQ(out.runs.size(), static_cast<std::size_t>(runs));
    if (runs > 0) {
      EXPECT_EQ(out.runs.back(), (RegionRect{2 * runs - 2, 0, 2 * runs - 1, 1}));
    }
  }
}

}  // namespace
}  // namespace vx
