// Single-frame steps: lengths of pictures, the next picture's time and the seek time of the one before.
#include <gtest/gtest.h>

#include <tuple>

#include "core/player/FrameStep.h"

namespace vx {
namespace {

constexpr std::int64_t kFrame30 = 33'333'333;

TEST(FrameStep, ThePicturesLengthComesFromTheBufferElseTheRateElseTheCamera) {
  EXPECT_EQ(FrameDurationNs(40'000'000, 30, 1), 40'000'000);
  EXPECT_EQ(FrameDurationNs(-1, 30000, 1001), 33'366'666);
  EXPECT_EQ(FrameDurationNs(0, 0, 1), kFrame30);
}

TEST(FrameStep, APictureClippedByASeekStartsOnePeriodBeforeItsEnd) {
  for (const auto& [decoded, period, expected] : {
           std::tuple{ShownFrame{1'483'333'300, 16'666'666}, kFrame30, ShownFrame{1'466'666'633, kFrame30}},
           {ShownFrame{1'466'666'666, 33'333'334}, kFrame30, ShownFrame{1'466'666'666, 33'333'334}},
           {ShownFrame{1'466'666'667, 33'333'332}, kFrame30, ShownFrame{1'466'666'667, 33'333'332}},  // rounding
           {ShownFrame{1'483'333'300, 16'666'666}, 0LL, ShownFrame{1'483'333'300, 16'666'666}},   // rate unknown
       }) {
    const ShownFrame unclipped = UnclippedFrame(decoded, period);
    EXPECT_EQ(unclipped.timeNs, expected.timeNs) << decoded.timeNs;
    EXPECT_EQ(unclipped.durationNs, expected.durationNs) << decoded.timeNs;
  }
}

TEST(FrameStep, StepsStayInsideTheRecordingAndSeekIntoThePreviousPicture) {
  const std::int64_t threeSeconds = 3'000'000'000;
  struct Case {
    ShownFrame shown;
    std::optional<std::int64_t> next;
    std::optional<std::int64_t> previousSeek;
  };
  const Case cases[] = {
      {{0, kFrame30}, kFrame30, std::nullopt},                                  // the first picture
      {{kFrame30, kFrame30}, 2 * kFrame30, kFrame30 / 2 + 1},                   // the second goes back to the first
      {{89 * kFrame30, kFrame30}, std::nullopt, 89 * kFrame30 - kFrame30 / 2},  // the last of 90
      {{88 * kFrame30, kFrame30}, 89 * kFrame30, 88 * kFrame30 - kFrame30 / 2},
      // Timestamps rounded a nanosecond up still seek inside the picture before, not the one before that.
      {{2 * kFrame30 + 1, kFrame30}, 3 * kFrame30 + 1, kFrame30 + kFrame30 / 2 + 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NextFrameTime(c.shown, threeSeconds), c.next) << c.shown.timeNs;
    EXPECT_EQ(PreviousFrameSeekTime(c.shown), c.previousSeek) << c.shown.timeNs;
    if (c.previousSeek) {
      EXPECT_GT(*c.previousSeek, c.shown.timeNs - c.shown.durationNs) << "inside the previous picture";
      EXPECT_LT(*c.previousSeek, c.shown.timeNs);
    }
  }
  EXPECT_EQ(NextFrameTime({89 * kFrame30, kFrame30}, 0), 90 * kFrame30) << "an unknown length never stops a step";
}

}  // namespace
}  // namespace vx
