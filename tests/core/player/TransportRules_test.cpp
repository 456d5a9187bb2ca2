// Tests of the transport's rules: the speed label of every step, time label texts, the end of a recording and
// the volume scale.
#include <gtest/gtest.h>

#include "core/player/SpeedSteps.h"
#include "core/player/TimelineRules.h"
#include "core/player/VolumeScale.h"

namespace vx {
namespace {

// The window's test steps the rate through the buttons; here every step is checked, also those it skips.
TEST(SpeedSteps, EveryStepsLabelNamesItsRateAndNothingChangesUnlessPlaying) {
  for (int step = kSlowestSpeedStep; step <= kFastestSpeedStep; ++step) {
    const std::string label = SpeedLabel(step);
    EXPECT_FLOAT_EQ(std::stof(label.substr(2)), SpeedRate(step)) << label;
    EXPECT_EQ(NextSpeedStep(step, SpeedButton::Slower, false), step);
    EXPECT_EQ(NextSpeedStep(step, SpeedButton::Faster, false), step);
  }
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
