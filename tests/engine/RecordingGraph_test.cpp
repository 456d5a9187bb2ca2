// The recording graph on card-maker files: layouts, element names and order, failures, teardown.
#include <gst/gst.h>

#include <filesystem>
#include <fstream>

#include "EngineFixture.h"
#include "core/telemetry/TelemetryDrain.h"
#include "engine/CCameraSource.h"

namespace vx::test {
namespace {

struct LayoutCase {
  const char* file;
  const char* options;
  int videoStreams;
  std::vector<std::string> elements;
};

std::ostream& operator<<(std::ostream& out, const LayoutCase& c) { return out << c.file; }

class GraphLayoutTest : public EngineTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(GraphLayoutTest, AddsTheElementsOfItsLayoutInOrderAndCuesTheFirstFrame) {
  const LayoutCase& c = GetParam();
  ASSERT_EQ(m_engine.Open(CardFile(c.file, c.options)), 1);
  EXPECT_EQ(ElementNames(), c.elements);
  EXPECT_EQ(Recording().VideoStreamCount(), c.videoStreams);
  EXPECT_EQ(Recording().State(), EngineState::Stopped);
  QImage front;
  EXPECT_EQ(m_engine.GrabFrame(0, front), 1);
  QImage rear;
  EXPECT_EQ(m_engine.GrabFrame(1, rear), c.videoStreams == 2 ? 1 : 0);
}

const std::vector<std::string> kOneAac = {"MxStreamParseFilter",     "COREAAC AUDIO",
                                          "DirectSound Audio Renderer", "FFDShow Decoder1",
                                          "Color Space Convertor 1", "Mixing Renderer9"};
const std::vector<std::string> kOnePcm = {"MxStreamParseFilter", "DirectSound Audio Renderer", "FFDShow Decoder1",
                                          "Color Space Convertor 1", "Mixing Renderer9"};
const std::vector<std::string> kTwoAac = {
    "MxStreamParseFilter", "CoreAAC Decoder",         "DirectSound Audio Renderer", "FFDShow Decoder1",
    "FFDShow Decoder2",    "Color Space Convertor 1", "Color Space Convertor 2",    "Mixing Renderer9-1",
    "Mixing Renderer9-2"};
const std::vector<std::string> kTwoPcm = {
    "MxStreamParseFilter",     "DirectSound Audio Renderer", "FFDShow Decoder1",   "FFDShow Decoder2",
    "Color Space Convertor 1", "Color Space Convertor 2",    "Mixing Renderer9-1", "Mixing Renderer9-2"};
const std::vector<std::string> kOneSilent = {"MxStreamParseFilter", "FFDShow Decoder1", "Color Space Convertor 1",
                                             "Mixing Renderer9"};

INSTANTIATE_TEST_SUITE_P(
    CardFiles, GraphLayoutTest,
    ::testing::Values(LayoutCase{"one-aac.MP4", "--streams 1 --seconds 2", 1, kOneAac},
                      LayoutCase{"two-aac.MP4", "--streams 2 --seconds 2", 2, kTwoAac},
                      LayoutCase{"one-pcm.AVI", "--streams 1 --seconds 2", 1, kOnePcm},
                      LayoutCase{"two-pcm.AVI", "--streams 2 --seconds 2", 2, kTwoPcm},
                      LayoutCase{"two-h264.AVI", "--streams 2 --codec h264 --seconds 2", 2, kTwoPcm},
                      LayoutCase{"one-silent.MP4", "--streams 1 --audio none --seconds 2", 1, kOneSilent}));

TEST_F(EngineTest, FailedOpensAnswerZeroAndLeaveNoRecording) {
  const std::string junk = MediaDir() + "/junk.MP4";
  std::ofstream(junk) << "this is no recording";
  const std::string audioOnly = MediaDir() + "/audio-only.MP4";
  ASSERT_TRUE(std::filesystem::exists(audioOnly) ||
              RunCommand("gst-launch-1.0 -q audiotestsrc num-buffers=40 ! voaacenc ! mp4mux ! filesink location=" +
                         audioOnly + " > /dev/null 2>&1"));
  EXPECT_EQ(m_engine.Open(""), 0);
  for (const std::string& path : {MediaDir() + "/missing.MP4", junk, audioOnly,
                                  CardFile("cut.MP4", "--streams 2 --seconds 2 --cut 0.6")}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(m_engine.Open(path), 0);
    EXPECT_EQ(m_engine.Recording(), nullptr);
    QImage picture;
    EXPECT_EQ(m_engine.GrabFrame(0, picture), 0);
  }
}

// A graph that cannot be completed never reads as opened: the window would skip nothing and play nothing.
TEST_F(EngineTest, OpensWithoutACompleteGraphAnswerZero) {
  const std::string threeVideos = MediaDir() + "/three-videos.MP4";
  const std::string branch = "videotestsrc num-buffers=15 ! x264enc ! h264parse ! m. ";
  ASSERT_TRUE(std::filesystem::exists(threeVideos) ||
              RunCommand("gst-launch-1.0 -q mp4mux name=m ! filesink location=" + threeVideos + " " + branch +
                         branch + branch + "> /dev/null 2>&1"));
  EXPECT_EQ(m_engine.Open(threeVideos), 0);
  EXPECT_EQ(m_engine.Recording(), nullptr);

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

TEST(EngineWithoutWindows, RefusesToOpenAndChecksNoComponents) {
  CPlaybackEngine engine;
  EXPECT_EQ(engine.CheckComponents(), -1);
  EXPECT_EQ(engine.Open(CardFile("one-aac.MP4", "--streams 1 --seconds 2")), 0);
  QImage picture;
  EXPECT_EQ(engine.GrabFrame(0, picture), 0);
  EXPECT_TRUE(picture.isNull());
}

TEST(ComponentCheck, AsksTheRegistryForEachComponentInTurn) {
  CNrvVideoView front;
  const auto missing = [](const char* factory) {
    return CPlaybackEngine::ElementLookup([=](const std::string& name) { return name != factory; });
  };
  for (const auto& [factory, expected] : std::vector<std::pair<const char*, int>>{
           {"none", 1}, {"vxcamerasrc", -1}, {"avdec_h264", -2}, {"avdec_aac", -3}, {"videobalance", -4}}) {
    CPlaybackEngine engine(missing(factory));
    engine.AttachWindows(&front, nullptr);
    EXPECT_EQ(engine.CheckComponents(), expected) << factory;
  }
  CPlaybackEngine real;
  real.AttachWindows(&front, nullptr);
  EXPECT_EQ(real.CheckComponents(), 1);
}

TEST_F(EngineTest, OpeningTheSameFileTwiceReplacesTheFirstGraph) {
  const std::string path = CardFile("one-aac.MP4", "--streams 1 --seconds 2");
  ASSERT_EQ(m_engine.Open(path), 1);
  GWeakRef first;
  g_weak_ref_init(&first, Recording().Pipeline());
  ASSERT_EQ(m_engine.Open(path), 1);
  GObject* stillThere = static_cast<GObject*>(g_weak_ref_get(&first));
  EXPECT_EQ(stillThere, nullptr);
  if (stillThere) g_object_unref(stillThere);
  g_weak_ref_clear(&first);
  EXPECT_EQ(Recording().State(), EngineState::Stopped);
}

TEST_F(EngineTest, TeardownRemovesTheElementsInItsOrder) {
  ASSERT_EQ(m_engine.Open(CardFile("two-aac.MP4", "--streams 2 --seconds 2")), 1);
  std::vector<std::string> removed;
  g_signal_connect(Recording().Pipeline(), "element-removed",
                   G_CALLBACK(+[](GstBin*, GstElement* element, gpointer names) {
                     static_cast<std::vector<std::string>*>(names)->push_back(GST_ELEMENT_NAME(element));
                   }),
                   &removed);
  Recording().Teardown();
  EXPECT_EQ(removed, (std::vector<std::string>{"DirectSound Audio Renderer", "Mixing Renderer9-1",
                                               "Mixing Renderer9-2", "FFDShow Decoder1", "FFDShow Decoder2",
                                               "CoreAAC Decoder", "MxStreamParseFilter", "Color Space Convertor 1",
                                               "Color Space Convertor 2"}));
  EXPECT_EQ(Recording().State(), EngineState::Stopped);
  EXPECT_FALSE(Recording().HasGraph());
}

TEST_F(EngineTest, TheSourceHandsOutTheFilesTelemetryWithTheEnginesOption) {
  m_engine.SetTelemetryOption(false);
  ASSERT_EQ(m_engine.Open(CardFile("one-aac.MP4", "--streams 1 --seconds 2")), 1);
  CTextData telemetry;
  EXPECT_EQ(DrainTelemetry(Recording().TelemetrySource(), telemetry), kNoMoreRecords);
  EXPECT_GT(telemetry.m_arrGSensor.GetSize(), 0u);
  EXPECT_GT(telemetry.m_arrGps.GetSize(), 0u);
  GstPtr<GstElement> source = Adopt(gst_bin_get_by_name(GST_BIN(Recording().Pipeline()), "MxStreamParseFilter"));
  EXPECT_EQ(CCameraSource::From(source.get())->Option(), 0u);

  ASSERT_EQ(m_engine.Open(CardFile("bare.AVI", "--streams 1 --no-telemetry --seconds 2")), 1);
  EXPECT_EQ(DrainTelemetry(Recording().TelemetrySource(), telemetry), kNoMoreRecords);
  EXPECT_EQ(telemetry.m_arrGSensor.GetSize(), 0u);
}

TEST_F(EngineTest, BuildingDumpsThePipelineGraphWhenAskedTo) {
  const std::filesystem::path dir = std::getenv("GST_DEBUG_DUMP_DOT_DIR");
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  ASSERT_EQ(m_engine.Open(CardFile("one-aac.MP4", "--streams 1 --seconds 2")), 1);
  bool found = false;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    found = found || entry.path().filename().string().find("vx880-built") != std::string::npos;
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace vx::test
