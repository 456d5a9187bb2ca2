// Tests of the skinned widgets' arithmetic: a button's picture for its state, the opaque runs that shape
// skinned windows, and the slider's thumb, point and key positions.
#include <gtest/gtest.h>

#include <vector>

#include "core/widgets/ButtonState.h"
#include "core/widgets/RegionRuns.h"
#include "core/widgets/ScrollCodes.h"
#include "core/widgets/SliderMath.h"

namespace vx {
namespace {

TEST(ButtonState, FirstMatchingStateWithAPictureWinsAndMissingPicturesFallThrough) {
  constexpr std::array<bool, 5> all = {true, true, true, true, true};
  constexpr std::array<bool, 5> asLoaded = {true, true, false, false, true};  // normal, pressed, mouse over
  const struct {
    ButtonState state;  // disabled, pressed, focused, mouse over
    std::array<bool, 5> present;
    int slot;
  } cases[] = {
      {{true, true, true, true}, all, kSlotDisabled},
      {{false, true, true, true}, all, kSlotPressed},
      {{false, false, true, false}, all, kSlotFocused},
      {{false, false, true, true}, all, kSlotMouseOver},  // focused under the mouse
      {{false, false, false, true}, all, kSlotMouseOver},
      {{}, all, kSlotNormal},
      {{true, false, false, false}, asLoaded, kSlotNormal},     // no disabled picture
      {{true, false, false, true}, asLoaded, kSlotMouseOver},   // disabled with the mouse-over flag still set
      {{false, false, true, false}, asLoaded, kSlotNormal},    // no focused picture
      {{false, true, false, false}, {true, false, false, false, true}, kSlotNormal},
      {{}, {}, -1},                                             // an empty choice paints nothing
      {{false, true, false, false}, {false, false, false, false, true}, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseButtonSlot(c.state, c.present), c.slot) << &c - cases;
}

constexpr std::uint32_t kBlack = 0x000000;

std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return (r << 16) | (g << 8) | b; }

struct Collected {
  std::vector<RegionRect> runs;
  std::vector<std::size_t> batchSizes;
};

Collected Collect(const std::vector<std::uint32_t>& pixels, int width, std::size_t stride) {
  Collected out;
  const PixelView view{pixels.data(), width, static_cast<int>(pixels.size() / stride), stride};
  CollectRegionRuns(view, kBlack, [&](std::span<const RegionRect> batch) {
    out.batchSizes.push_back(batch.size());
    out.runs.insert(out.runs.end(), batch.begin(), batch.end());
  });
  return out;
}

TEST(RegionRuns, KeyRangeIsCheckedPerChannel) {
  constexpr std::uint32_t magenta = 0xFF00FF;  // 0x00BBGGRR
  constexpr std::uint32_t yellow = 0x00FFFF;
  const struct {
    std::uint32_t pixel, key;
    bool transparent;
  } cases[] = {
      {Rgb(255, 16, 255), magenta, true},   {Rgb(255, 17, 255), magenta, false},  // k to k + 16
      {Rgb(250, 0, 255), magenta, false},   // red below the key's 255
      {Rgb(255, 255, 16), yellow, true},    {Rgb(16, 255, 255), yellow, false},  // red in the low byte
      {Rgb(255, 0, 255) | 0xFF000000u, magenta, true},  // the fourth byte is not read
      {Rgb(255, 0, 0), 250, true},          {Rgb(249, 0, 0), 250, false},  // red 250: [250, 255]
  };
  for (const auto& c : cases) EXPECT_EQ(IsKeyColour(c.pixel, c.key), c.transparent) << std::hex << c.pixel;
}

TEST(RegionRuns, RunsStartAfterKeyPixelsEndAtTheRightEdgeAndRowsFollowTheStride) {
  const std::uint32_t o = Rgb(40, 40, 40);
  const std::uint32_t beyond = 0xDEAD;  // past the width: never read
  EXPECT_EQ(Collect({o, o, o, o, o, o, o}, 7, 7).runs, (std::vector<RegionRect>{{0, 0, 7, 1}}));
  const Collected out = Collect({0, o, 0, 0, o, o, beyond, o, o, o, o, o, 0, beyond}, 6, 7);
  EXPECT_EQ(out.runs, (std::vector<RegionRect>{{1, 0, 2, 1}, {4, 0, 6, 1}, {0, 1, 5, 2}}));
  EXPECT_EQ(out.batchSizes, std::vector<std::size_t>{3});
}

TEST(RegionRuns, RunsArriveInBatchesOfTwoThousandAndALastBatchAlwaysFollows) {
  const std::pair<int, std::vector<std::size_t>> cases[] = {{0, {0}}, {2000, {2000, 0}}, {2001, {2000, 1}}};
  for (const auto& [runs, batches] : cases) {
    // Single-pixel runs on the even columns of one row.
    std::vector<std::uint32_t> row(static_cast<std::size_t>(2 * runs + 1), 0);
    for (std::size_t x = 0; x + 1 < row.size(); x += 2) row[x] = Rgb(255, 255, 255);
    const Collected out = Collect(row, 2 * runs + 1, row.size());
    EXPECT_EQ(out.batchSizes, batches) << runs << " runs";
    ASSERT_EQ(out.runs.size(), static_cast<std::size_t>(runs));
    if (runs > 0) {
      EXPECT_EQ(out.runs.back(), (RegionRect{2 * runs - 2, 0, 2 * runs - 1, 1}));
    }
  }
}

constexpr SliderGeometry kVolume{90, 1, 15};  // client width, margin, thumb width
constexpr SliderRange kVolumeRange{0, 99};

TEST(SliderMath, ThumbPlacesAndPointsToPositions) {
  const SliderGeometry offset{112, 1, 10};  // positions 10 to 19 over 100 pixels: 10 a position
  const SliderGeometry hour{502, 1, 15};    // an hour in milliseconds
  const SliderGeometry narrow{16, 1, 15};   // the thumb does not fit: it stays at the margin
  const struct {
    SliderGeometry geometry;
    SliderRange range;
    int position, thumbX;
  } thumbs[] = {
      {kVolume, kVolumeRange, 99, 73},  // one step short of the right end
      {kVolume, kVolumeRange, 0, 1},    {kVolume, kVolumeRange, 50, 37},
      {offset, {10, 19}, 15, 51},
      {hour, {0, 3'600'000}, 3'600'000, 485},  // no overflow
      {narrow, kVolumeRange, 80, 1},
  };
  for (const auto& t : thumbs) EXPECT_EQ(SliderThumbX(t.geometry, t.range, t.position), t.thumbX) << t.position;
  const struct {
    SliderGeometry geometry;
    SliderRange range;
    int pointX;
    std::int64_t position;
  } points[] = {
      {kVolume, kVolumeRange, -20, 0},   // left of the channel
      {kVolume, kVolumeRange, 2, 0},     // a negative thumb x truncates toward zero
      {kVolume, kVolumeRange, 200, 100},  // right of it asks for max + 1
      {offset, {10, 19}, 56, 15},
      {hour, {0, 3'600'000}, 1000, 3'600'001},
      {hour, {-2147483647 - 1, 2147483647}, 1000, 2147483648LL},
      {narrow, kVolumeRange, 10, 0},
  };
  for (const auto& p : points) EXPECT_EQ(SliderPositionFromPoint(p.geometry, p.range, p.pointX), p.position) << p.pointX;
  EXPECT_EQ(kVolumeRange.Clamp(100), 99);
  EXPECT_EQ((SliderRange{-2147483647 - 1, 2147483647}).Clamp(2147483648LL), 2147483647);
}

TEST(SliderMath, KeysMoveByLineAndPageWithinTheRangeAndSayHow) {
  const struct {
    SliderKey key;
    int from;
    std::int64_t to;
    int code;
  } cases[] = {
      {SliderKey::PageUp, 5, 0, TB_PAGEUP},        {SliderKey::PageUp, 50, 40, TB_PAGEUP},
      {SliderKey::PageDown, 95, 100, TB_PAGEDOWN}, {SliderKey::PageDown, 50, 60, TB_PAGEDOWN},
      {SliderKey::End, 3, 100, TB_BOTTOM},         {SliderKey::Home, 3, 0, TB_TOP},
      {SliderKey::Left, 0, 0, TB_LINEUP},          {SliderKey::Left, 7, 6, TB_LINEUP},
      {SliderKey::Right, 99, 100, TB_LINEDOWN},    {SliderKey::Right, 7, 8, TB_LINEDOWN},
  };
  for (const auto& c : cases) {
    const SliderKeyStep step = SliderKeyMove(c.key, kVolumeRange, c.from, 1, 10);
    EXPECT_EQ(std::pair(step.position, step.code), std::pair(c.to, c.code)) << &c - cases;
  }
}

}  // namespace
}  // namespace vx
