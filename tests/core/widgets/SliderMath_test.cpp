// Tests of the slider arithmetic: the volume slider's worked figures, clamping and the key table.
#include "core/widgets/SliderMath.h"

#include <gtest/gtest.h>

#include "core/widgets/ScrollCodes.h"

namespace vx {
namespace {

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
      {offset, {10, 19}, 10, 1},        {offset, {10, 19}, 15, 51},
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
      {kVolume, kVolumeRange, 45, 50},
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

TEST(SliderMath, KeyTable) {
  struct Case {
    SliderKey key;
    int from;
    std::int64_t to;
    int code;
  };
  const Case cases[] = {
      {SliderKey::PageUp, 5, 0, TB_PAGEUP},        {SliderKey::PageUp, 50, 40, TB_PAGEUP},
      {SliderKey::PageDown, 95, 100, TB_PAGEDOWN}, {SliderKey::PageDown, 50, 60, TB_PAGEDOWN},
      {SliderKey::End, 3, 100, TB_BOTTOM},         {SliderKey::Home, 3, 0, TB_TOP},
      {SliderKey::Left, 0, 0, TB_LINEUP},          {SliderKey::Left, 7, 6, TB_LINEUP},
      {SliderKey::Right, 99, 100, TB_LINEDOWN},    {SliderKey::Right, 7, 8, TB_LINEDOWN},
  };
  for (const Case& c : cases) {
    const SliderKeyStep step = SliderKeyMove(c.key, kVolumeRange, c.from, 1, 10);
    EXPECT_EQ(step.position, c.to) << "key " << static_cast<int>(c.key) << " from " << c.from;
    EXPECT_EQ(step.code, c.code) << "key " << static_cast<int>(c.key);
  }
}

}  // namespace
}  // namespace vx
