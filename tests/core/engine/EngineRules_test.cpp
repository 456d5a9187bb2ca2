// Pure engine rules: rate clamping, relative seek targets, the state rules, layouts and pad counting.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/engine/ComponentCheck.h"
#include "core/engine/EngineState.h"
#include "core/engine/GraphLayout.h"

namespace vx {
namespace {

TEST(EngineRules, ClampRateKeepsOneAndHoldsOthersToHalfAndDouble) {
  EXPECT_EQ(ClampRate(1.0f), 1.0f);
  EXPECT_EQ(ClampRate(3.0f), 2.0f);
  EXPECT_EQ(ClampRate(0.2f), 0.5f);
  EXPECT_EQ(ClampRate(0.4f), 0.5f);
  EXPECT_EQ(ClampRate(1.4f), 1.4f);
  EXPECT_EQ(ClampRate(-1.0f), 0.5f);
  EXPECT_EQ(ClampRate(std::numeric_limits<float>::quiet_NaN()), 1.0f);
  EXPECT_EQ(ClampRate(std::numeric_limits<float>::infinity()), 2.0f);
}

TEST(EngineRules, SkipTargetTruncatesAndClampsToTheRecording) {
  const RefTime duration = 600'000'000;  // 60 s
  EXPECT_EQ(SkipTarget(4'000'000, -1.0, duration), 0);
  EXPECT_EQ(SkipTarget(595'000'000, 1.0, duration), duration);
  EXPECT_EQ(SkipTarget(100'000'000, 1.0, duration), 110'000'000);
  EXPECT_EQ(SkipTarget(100'000'000, 0.00000015, duration), 100'000'001);  // 1.5 units, truncated
  EXPECT_EQ(SkipTarget(100'000'000, 1000.0, duration), duration);
  EXPECT_EQ(SkipTarget(100'000'000, -1000.0, duration), 0);
  EXPECT_EQ(SkipTarget(100'000'000, 1.0, 0), 110'000'000);  // duration unknown: no upper bound
  EXPECT_EQ(SkipTarget(100'000'000, std::nan(""), duration), 100'000'000);
  EXPECT_EQ(SkipTarget(100'000'000, 1e300, duration), duration);
}

TEST(EngineRules, StateRulesAndTimeUnits) {
  EXPECT_TRUE(CanRun(EngineState::Paused));
  EXPECT_TRUE(CanRun(EngineState::Stopped));
  EXPECT_FALSE(CanRun(EngineState::Running));
  EXPECT_FALSE(CanRun(EngineState::Closed));
  EXPECT_TRUE(CanStop(EngineState::Running));
  EXPECT_FALSE(CanStop(EngineState::Stopped));
  EXPECT_FALSE(CanStop(EngineState::Closed));
  EXPECT_EQ(NsToRefTime(60'000'000'099), 600'000'000);
  EXPECT_EQ(RefTimeToMs(600'009'999), 60'000);
  EXPECT_TRUE(IsAtEnd(5, 5));
  EXPECT_FALSE(IsAtEnd(4, 5));
}

TEST(GraphLayoutRules, CountsPadsByCaseSensitiveNameAndPcm) {
  const std::vector<SourcePadInfo> pads = {
      {"Video 1", false}, {"Rear Video", false}, {"video 3", false}, {"Audio", true}, {"audio", false}};
  EXPECT_EQ(CountVideoPads(pads), 2);
  EXPECT_EQ(CountAudioPads(pads), 1001);
  EXPECT_EQ(CountAudioPads({{"Audio", false}}), 1);
  EXPECT_EQ(CountAudioPads({}), 0);
}

std::vector<std::string> Names(const std::vector<GraphStep>& steps) {
  std::vector<std::string> names;
  for (const GraphStep& step : steps) names.push_back(step.name);
  return names;
}

TEST(GraphLayoutRules, NamesTheElementsOfEachLayoutInOrder) {
  EXPECT_EQ(Names(GraphLayout(1, 1)),
            (std::vector<std::string>{"MxStreamParseFilter", "COREAAC AUDIO", "DirectSound Audio Renderer",
                                      "FFDShow Decoder1", "Color Space Convertor 1", "Mixing Renderer9"}));
  EXPECT_EQ(Names(GraphLayout(2, 1001)),
            (std::vector<std::string>{"MxStreamParseFilter", "DirectSound Audio Renderer", "FFDShow Decoder1",
                                      "FFDShow Decoder2", "Color Space Convertor 1", "Color Space Convertor 2",
                                      "Mixing Renderer9-1", "Mixing Renderer9-2"}));
  EXPECT_EQ(Names(GraphLayout(2, 1))[1], "CoreAAC Decoder");
  EXPECT_EQ(GraphLayout(1, 0).size(), 4u);
  EXPECT_TRUE(GraphLayout(0, 1).empty());
  EXPECT_TRUE(GraphLayout(3, 1).empty());
}

TEST(ComponentCheckRules, TheFirstMissingGroupDecides) {
  const auto without = [](std::string missing) {
    return [missing](const std::string& factory) { return factory != missing; };
  };
  EXPECT_EQ(CheckComponentElements(without("")), 1);
  EXPECT_EQ(CheckComponentElements(without("qtdemux")), -1);
  EXPECT_EQ(CheckComponentElements(without("jpegdec")), -2);
  EXPECT_EQ(CheckComponentElements(without("avdec_aac")), -3);
  EXPECT_EQ(CheckComponentElements(without("videobalance")), -4);
  EXPECT_EQ(CheckComponentElements([](const std::string&) { return false; }), -1);
}

}  // namespace
}  // namespace vx
