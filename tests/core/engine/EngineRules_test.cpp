// Pure engine rules: rate clamping, relative seek targets, pad counting and the component check.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <span>

#include "core/engine/ComponentCheck.h"
#include "core/engine/EngineState.h"
#include "core/engine/GraphLayout.h"

namespace vx {
namespace {

TEST(EngineRules, ClampRateKeepsOneAndHoldsOthersToHalfAndDouble) {
  for (const auto& [asked, rate] : {std::pair{1.0f, 1.0f}, {3.0f, 2.0f}, {0.4f, 0.5f}, {1.4f, 1.4f},
                                    {-1.0f, 0.5f},
                                    {std::numeric_limits<float>::quiet_NaN(), 1.0f},
                                    {std::numeric_limits<float>::infinity(), 2.0f}}) {
    EXPECT_EQ(ClampRate(asked), rate) << asked;
  }
}

TEST(EngineRules, SkipTargetTruncatesAndClampsToTheRecording) {
  const RefTime duration = 600'000'000;  // 60 s
  EXPECT_EQ(SkipTarget(100'000'000, 1.0, 0), 110'000'000) << "duration unknown: no upper bound";
  for (const auto& [from, seconds, target] : {std::tuple{4'000'000LL, -1.0, 0LL}, {595'000'000, 1.0, duration},
                                              {100'000'000, 0.00000015, 100'000'001},  // 1.5 units, truncated
                                              {100'000'000, std::nan(""), 100'000'000},
                                              {100'000'000, 1e300, duration}}) {
    EXPECT_EQ(SkipTarget(from, seconds, duration), target) << from << " + " << seconds;
  }
}

TEST(GraphLayoutRules, CountsPadsByCaseSensitiveNameAndPcm) {
  const std::vector<SourcePadInfo> pads = {
      {"Video 1", false}, {"Rear Video", false}, {"video 3", false}, {"Audio", true}, {"audio", false}};
  EXPECT_EQ(std::tuple(CountVideoPads(pads), CountAudioPads(pads), CountAudioPads({{"Audio", false}}),
                       CountAudioPads({})),
            std::tuple(2, 1001, 1, 0));
  EXPECT_TRUE(GraphLayout(0, 1).empty() && GraphLayout(3, 1).empty()) << "only one or two video streams";
}

TEST(ComponentCheckRules, AnyMissingElementFailsItsGroupAndTheFirstMissingGroupDecides) {
  const auto without = [](std::string missing) {
    return [missing](const std::string& factory) { return factory != missing; };
  };
  EXPECT_EQ(CheckComponentElements(without("")), 1);
  using Group = std::span<const char* const>;
  int code = -1;
  for (const Group group : {Group(kSourceElements), Group(kVideoDecoderElements), Group(kAudioDecoderElements),
                            Group(kBrightnessElements)}) {
    for (const char* factory : group) EXPECT_EQ(CheckComponentElements(without(factory)), code) << factory;
    --code;
  }
  // The elements playback cannot do without are among those checked, each in its group.
  for (const auto& [factory, group] : {std::pair{"qtdemux", -1}, {"avidemux", -1}, {"avdec_h264", -2},
                                       {"jpegdec", -2}, {"avdec_aac", -3}, {"videobalance", -4}}) {
    EXPECT_EQ(CheckComponentElements(without(factory)), group) << factory;
  }
  EXPECT_EQ(CheckComponentElements([](const std::string& f) { return f == "videobalance"; }), -1);
}

}  // namespace
}  // namespace vx
