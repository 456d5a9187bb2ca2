// Tests of the transport's rules: speed steps with their label, time label texts, the end of a recording and
// the volume scale.
#include <gtest/gtest.h>

#include "core/player/SpeedSteps.h"
#include "core/player/TimelineRules.h"
#include "core/player/VolumeScale.h"

namespace vx {
namespace {

int Press(int step, SpeedButton button, int times, bool playing = true) {
  for (int i = 0; i < times; ++i) step = NextSpeedStep(step, button, playing);
  return step;
}

TEST(SpeedSteps, LabelAndRateFromTheStart) {
  EXPECT_EQ(SpeedLabel(kNormalSpeedStep), "X 1.0");
  EXPECT_FLOAT_EQ(SpeedRate(kNormalSpeedStep), 1.0f);
  const int fastest = Press(kNormalSpeedStep, SpeedButton::Faster, 5);
  EXPECT_EQ(SpeedLabel(fastest), "X 2.0");
  EXPECT_EQ(Press(fastest, SpeedButton::Faster, 3), fastest) << "stays at the fastest";
  const int slowest = Press(kNormalSpeedStep, SpeedButton::Slower, 9);
  EXPECT_EQ(SpeedLabel(slowest), "X 0.5") << "the rate the engine plays, not 0.2";
  EXPECT_FLOAT_EQ(SpeedRate(slowest), 0.5f);
  const int oneUp = Press(slowest, SpeedButton::Faster, 1);
  EXPECT_EQ(SpeedLabel(oneUp), "X 0.6");
  EXPECT_FLOAT_EQ(SpeedRate(oneUp), 0.6f);
}

TEST(SpeedSteps, LabelNamesTheRateAtEveryStep) {
  for (int step = kSlowestSpeedStep; step <= kFastestSpeedStep; ++step) {
    const std::string label = SpeedLabel(step);
    EXPECT_FLOAT_EQ(std::stof(label.substr(2)), SpeedRate(step)) << label;
  }
}

TEST(SpeedSteps, NothingChangesUnlessPlaying) {
  EXPECT_EQ(Press(kNormalSpeedStep, SpeedButton::Slower, 1, false), kNormalSpeedStep);
  EXPECT_EQ(Press(kNormalSpeedStep, SpeedButton::Faster, 1, false), kNormalSpeedStep);
}

TEST(TimelineRules, TimeTexts) {
  EXPECT_EQ(TimeText((3600 + 2 * 60 + 5) * 1000), "01:02:05");
  EXPECT_EQ(TimeText(90'000), "00:01:30");
  EXPECT_EQ(TimeText(999), "00:00:00") << "whole seconds, truncated";
  EXPECT_EQ(TimeText(-40), "00:00:00");
  EXPECT_EQ(TimeText(100LL * 3600 * 1000), "100:00:00");
}

TEST(TimelineRules, EndOfRecording) {
  EXPECT_TRUE(ReachedEnd(60'000, 60'000));
  EXPECT_TRUE(ReachedEnd(60'100, 60'000));
  EXPECT_FALSE(ReachedEnd(59'999, 60'000));
  EXPECT_TRUE(ReachedEnd(-1, 60'000));
  EXPECT_FALSE(ReachedEnd(0, 0)) << "an unknown duration is not the end at the first tick";
  EXPECT_FALSE(ReachedEnd(5'000, 0));
}

TEST(VolumeScale, SliderToLevel) {
  EXPECT_DOUBLE_EQ(VolumeLevel(kDefaultVolumePosition), 32'767.0 / 65'535.0);
  EXPECT_DOUBLE_EQ(VolumeLevel(99), 64'879.0 / 65'535.0);
  EXPECT_DOUBLE_EQ(VolumeLevel(150), VolumeLevel(99));
  EXPECT_DOUBLE_EQ(VolumeLevel(-3), 0.0);
}

}  // namespace
}  // namespace vx
