// The recording graph on card-maker files: layouts, failures, the component check, telemetry and graph dumps.
#include <gst/gst.h>

#include <filesystem>
#include <fstream>

#include "EngineFixture.h"
#include "core/engine/GraphLayout.h"
#include "core/telemetry/TelemetryDrain.h"
#include "engine/CCameraSource.h"

namespace vx::test {
namespace {

struct LayoutCase {
  const char* file;
  const char* options;
  int videoStreams;
  int audioCount;  // as the layout counts it: 0 none, 1 compressed, 1000 PCM
};

std::ostream& operator<<(std::ostream& out, const LayoutCase& c) { return out << c.file; }

class GraphLayoutTest : public EngineTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(GraphLayoutTest, AddsTheElementsOfItsLayoutInOrderAndCuesTheFirstFrame) {
  const LayoutCase& c = GetParam();
  ASSERT_EQ(m_engine.Open(CardFile(c.file, c.options)), 1);
  std::vector<std::string> expected, added;
  for (const GraphStep& step : GraphLayout(c.videoStreams, c.audioCount)) expected.push_back(step.name);
  for (GList* child = GST_BIN_CHILDREN(GST_BIN(Recording().Pipeline())); child; child = child->next)
    added.insert(added.begin(), GST_ELEMENT_NAME(child->data));  // the bin keeps its newest child first
  EXPECT_EQ(added, expected);
  EXPECT_EQ(Recording().VideoStreamCount(), c.videoStreams);
  EXPECT_EQ(Recording().State(), EngineState::Stopped);
  QImage front, rear;
  EXPECT_EQ(m_engine.GrabFrame(0, front), 1);
  EXPECT_EQ(m_engine.GrabFrame(1, rear), c.videoStreams == 2 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    CardFiles, GraphLayoutTest,
    ::testing::Values(LayoutCase{"one-aac.MP4", "--streams 1 --seconds 2", 1, 1},
                      LayoutCase{"two-aac.MP4", "--streams 2 --seconds 2", 2, 1},
                      LayoutCase{"one-pcm.AVI", "--streams 1 --seconds 2", 1, 1000},
                      LayoutCase{"two-pcm.AVI", "--streams 2 --seconds 2", 2, 1000},
                      LayoutCase{"two-h264.AVI", "--streams 2 --codec h264 --seconds 2", 2, 1000},
                      LayoutCase{"one-silent.MP4", "--streams 1 --audio none --seconds 2", 1, 0}));

// A graph that cannot be completed never reads as opened: the window would skip nothing and play nothing.
TEST_F(EngineTest, FailedOpensAnswerZeroAndLeaveNoRecording) {
  const std::string junk = MediaDir() + "/junk.MP4";
  std::ofstream(junk) << "this is no recording";
  const std::string video = "videotestsrc num-buffers=15 ! x264enc ! h264parse ! mux. ";
  EXPECT_EQ(m_engine.Open(""), 0);
  for (const std::string& path :
       {MediaDir() + "/missing.MP4", junk, CardFile("cut.MP4", "--streams 2 --seconds 2 --cut 0.6"),
        MuxedFile("audio-only.MP4", "audiotestsrc num-buffers=40 ! voaacenc ! mux."),
        MuxedFile("three-videos.MP4", video + video + video)}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(m_engine.Open(path), 0);
    EXPECT_EQ(m_engine.Recording(), nullptr);
    QImage picture;
    EXPECT_EQ(m_engine.GrabFrame(0, picture), 0);
  }

  // The picture decoder of Motion JPEG taken out of the registry, as on a machine without it.
  GstRegistry* registry = gst_registry_get();
  GstPtr<GstPluginFeature> decoder = Adopt(gst_registry_lookup_feature(registry, "jpegdec"));
  ASSERT_TRUE(decoder);
  gst_registry_remove_feature(registry, decoder.get());
  const int opened = m_engine.Open(CardFile("one-pcm.AVI", "--streams 1 --seconds 2"));
  gst_registry_add_feature(registry, decoder.get());
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(m_engine.Recording(), nullptr);
  EXPECT_EQ(m_engine.Open(CardFile("one-pcm.AVI", "--streams 1 --seconds 2")), 1);
}

// Which group a missing element fails is the core check's business; here the engine asks its lookup, and
// refuses everything without windows.
TEST(ComponentCheck, AsksTheEnginesLookupAndNeedsWindows) {
  CNrvVideoView front;
  CPlaybackEngine withoutAac([](const std::string& name) { return name != "avdec_aac"; });
  withoutAac.AttachWindows(&front, nullptr);
  EXPECT_EQ(withoutAac.CheckComponents(), -3);
  CPlaybackEngine real;
  real.AttachWindows(&front, nullptr);
  EXPECT_EQ(real.CheckComponents(), 1);

  CPlaybackEngine windowless;
  EXPECT_EQ(windowless.CheckComponents(), -1);
  EXPECT_EQ(windowless.Open(CardFile("one-aac.MP4", "--streams 1 --seconds 2")), 0);
  QImage picture;
  EXPECT_EQ(windowless.GrabFrame(0, picture), 0);
  EXPECT_TRUE(picture.isNull());
}

// Opening the file that is open builds its graph anew; the source hands out the file's telemetry with the
// engine's option, and the built graph is dumped when asked to.
TEST_F(EngineTest, EveryOpenBuildsAFreshGraphWithTheFilesTelemetry) {
  const std::filesystem::path dumps = std::getenv("GST_DEBUG_DUMP_DOT_DIR");
  std::filesystem::remove_all(dumps);
  std::filesystem::create_directories(dumps);
  const std::string path = CardFile("one-aac.MP4", "--streams 1 --seconds 2");
  m_engine.SetTelemetryOption(false);
  ASSERT_EQ(m_engine.Open(path), 1);
  GWeakRef first;
  g_weak_ref_init(&first, Recording().Pipeline());
  ASSERT_EQ(m_engine.Open(path), 1);
  GstPtr<GstElement> stillThere = Adopt(static_cast<GstElement*>(g_weak_ref_get(&first)));
  g_weak_ref_clear(&first);
  EXPECT_FALSE(stillThere);
  EXPECT_EQ(Recording().State(), EngineState::Stopped);
  CTextData telemetry;
  EXPECT_EQ(DrainTelemetry(Recording().TelemetrySource(), telemetry), kNoMoreRecords);
  EXPECT_GT(telemetry.m_arrGSensor.GetSize(), 0u);
  EXPECT_GT(telemetry.m_arrGps.GetSize(), 0u);
  EXPECT_EQ(CCameraSource::From(Named(kSourceName).get())->Option(), 0u);
  const auto dumped = [](const auto& entry) { return entry.path().string().find("vx880-built") != std::string::npos; };
  EXPECT_TRUE(std::ranges::any_of(std::filesystem::directory_iterator(dumps), dumped));

  ASSERT_EQ(m_engine.Open(CardFile("bare.AVI", "--streams 1 --no-telemetry --seconds 2")), 1);
  EXPECT_EQ(DrainTelemetry(Recording().TelemetrySource(), telemetry), kNoMoreRecords);
  EXPECT_EQ(telemetry.m_arrGSensor.GetSize(), 0u);
}

}  // namespace
}  // namespace vx::test
