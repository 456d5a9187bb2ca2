// Tests of the slider arithmetic: the volume slider's worked figures, clamping and the key table.
#include "core/widgets/SliderMath.h"

#include <gtest/gtest.h>

#include "core/widgets/ScrollCodes.h"

namespace vx {
namespace {

constexpr SliderGeometry kVolume{90, 1, 15};  // client width, margin, thumb width
constexpr SliderRange kVolumeRange{0, 99};

TEST(SliderMath, VolumeSliderThumbPlaces) {
  EXPECT_EQ(SliderThumbX(kVolume, kVolumeRange, 99), 73) << "one step short of the right end";
  EXPECT_EQ(SliderThumbX(kVolume, kVolumeRange, 0), 1);
  EXPECT_EQ(SliderThumbX(kVolume, kVolumeRange, 50), 37);
}

TEST(SliderMath, VolumeSliderPointToPosition) {
  EXPECT_EQ(SliderPositionFromPoint(kVolume, kVolumeRange, 45), 50);
  EXPECT_EQ(SliderPositionFromPoint(kVolume, kVolumeRange, -20), 0) << "left of the channel";
  EXPECT_EQ(SliderPositionFromPoint(kVolume, kVolumeRange, 2), 0) << "negative thumb x truncates toward zero";
  EXPECT_EQ(SliderPositionFromPoint(kVolume, kVolumeRange, 200), 100) << "right of it asks for max + 1";
  EXPECT_EQ(kVolumeRange.Clamp(100), 99);
}

TEST(SliderMath, RangeNotStartingAtZero) {
  const SliderRange range{10, 19};  // span 10
  const SliderGeometry geometry{112, 1, 10};  // avail 100: 10 pixels a position
  EXPECT_EQ(SliderThumbX(geometry, range, 10), 1);
  EXPECT_EQ(SliderThumbX(geometry, range, 15), 51);
  EXPECT_EQ(SliderPositionFromPoint(geometry, range, 6 + 50), 15);
}

TEST(SliderMath, LongRecordingsDoNotOverflow) {
  const SliderRange hour{0, 3'600'000};  // milliseconds
  const SliderGeometry geometry{502, 1, 15};
  EXPECT_EQ(SliderThumbX(geometry, hour, 3'600'000), 485);
  EXPECT_EQ(SliderPositionFromPoint(geometry, hour, 1000), 3'600'001);
  const SliderRange widest{-2147483647 - 1, 2147483647};
  EXPECT_EQ(SliderPositionFromPoint(geometry, widest, 1000), 2147483648LL);
  EXPECT_EQ(widest.Clamp(2147483648LL), 2147483647);
}

TEST(SliderMath, ThumbThatDoesNotFitStaysAtTheMargin) {
  const SliderGeometry narrow{16, 1, 15};
  EXPECT_EQ(SliderThumbX(narrow, kVolumeRange, 80), 1);
  EXPECT_EQ(SliderPositionFromPoint(narrow, kVolumeRange, 10), 0);
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
