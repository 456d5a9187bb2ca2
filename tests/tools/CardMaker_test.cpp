// The card maker's files as plain GStreamer sees them: their streams, and every frame played to the end.
#include <gst/gst.h>
#include <gst/pbutils/pbutils.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <regex>

#include "ToolRunner.h"
#include "core/telemetry/TelemetryLog.h"

namespace vx::test {
namespace {

struct StreamShape {
  std::string kind;  // "video" or "audio"
  int width = 0, height = 0;
};

std::vector<StreamShape> Discover(const std::string& path) {
  GError* error = nullptr;
  const std::unique_ptr<GstDiscoverer, decltype(&g_object_unref)> discoverer(
      gst_discoverer_new(10 * GST_SECOND, &error), g_object_unref);
  g_clear_error(&error);
  const std::string uri = "file://" + std::filesystem::absolute(path).string();
  const std::unique_ptr<GstDiscovererInfo, decltype(&g_object_unref)> info(
      gst_discoverer_discover_uri(discoverer.get(), uri.c_str(), &error), g_object_unref);
  g_clear_error(&error);
  std::vector<StreamShape> shapes;
  if (!info) return shapes;
  GList* streams = gst_discoverer_info_get_stream_list(info.get());
  for (GList* s = streams; s; s = s->next) {
    auto* stream = GST_DISCOVERER_STREAM_INFO(s->data);
    if (GST_IS_DISCOVERER_VIDEO_INFO(stream)) {
      auto* video = GST_DISCOVERER_VIDEO_INFO(stream);
      shapes.push_back({"video", static_cast<int>(gst_discoverer_video_info_get_width(video)),
                        static_cast<int>(gst_discoverer_video_info_get_height(video))});
    } else if (GST_IS_DISCOVERER_AUDIO_INFO(stream)) {
      shapes.push_back({"audio"});
    }
  }
  gst_discoverer_stream_info_list_free(streams);
  return shapes;
}

// Decodes every stream of the file as fast as possible; returns the decoded buffers per stream kind and
// whether the end of the file was reached without an error.
struct PlayResult {
  bool reachedEnd = false;
  std::map<std::string, int> buffers;  // "video_0", "video_1", "audio_0" in the order the pads appeared
};

PlayResult PlayToEnd(const std::string& path) {
  PlayResult result;
  GstElement* pipeline = gst_pipeline_new(nullptr);
  GstElement* decode = gst_element_factory_make("uridecodebin", nullptr);
  const std::string uri = "file://" + std::filesystem::absolute(path).string();
  g_object_set(decode, "uri", uri.c_str(), nullptr);
  gst_bin_add(GST_BIN(pipeline), decode);
  struct Context {
    GstElement* pipeline;
    PlayResult* result;
  } context{pipeline, &result};
  g_signal_connect(decode, "pad-added", G_CALLBACK(+[](GstElement*, GstPad* pad, Context* c) {
    GstCaps* caps = gst_pad_get_current_caps(pad);
    const std::string kind = g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "video")
                                 ? "video" : "audio";
    gst_caps_unref(caps);
    int index = 0;
    while (c->result->buffers.count(kind + "_" + std::to_string(index))) ++index;
    const std::string name = kind + "_" + std::to_string(index);
    c->result->buffers[name] = 0;
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(sink, "sync", FALSE, "signal-handoffs", TRUE, nullptr);
    int* counter = &c->result->buffers[name];
    g_signal_connect(sink, "handoff", G_CALLBACK(+[](GstElement*, GstBuffer*, GstPad*, int* n) { ++*n; }), counter);
    gst_bin_add(GST_BIN(c->pipeline), sink);
    gst_element_sync_state_with_parent(sink);
    GstPad* sinkPad = gst_element_get_static_pad(sink, "sink");
    gst_pad_link(pad, sinkPad);
    gst_object_unref(sinkPad);
  }), &context);
  gst_element_set_state(pipeline, GST_STATE_PLAYING);
  GstBus* bus = gst_element_get_bus(pipeline);
  GstMessage* message = gst_bus_timed_pop_filtered(bus, 60 * GST_SECOND,
                                                   static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  result.reachedEnd = message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
  if (message) gst_message_unref(message);
  gst_object_unref(bus);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(pipeline);
  return result;
}

class CardMakerFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    gst_init(nullptr, nullptr);
    s_dir = std::make_unique<TempDir>("mkcard");
  }
  static void TearDownTestSuite() { s_dir.reset(); }

  static std::string Make(const std::string& name, const std::string& options) {
    const std::string path = *s_dir / name;
    const ToolOutput made = RunTool(Tool("vx880-mkcard") + " --file " + path + " --seconds 2 " + options);
    EXPECT_EQ(made.status, 0) << name;
    return path;
  }

  static std::unique_ptr<TempDir> s_dir;
};
std::unique_ptr<TempDir> CardMakerFiles::s_dir;

TEST_F(CardMakerFiles, TwoStreamRecordingsCarryBothPicturesAndTheSoundAndPlayToTheEnd) {
  for (const auto& [name, options] : {std::pair{"two.MP4", ""}, std::pair{"two.AVI", ""},
                                      std::pair{"two-h264.AVI", "--codec h264"}}) {
    SCOPED_TRACE(name);
    const std::string path = Make(name, options);
    const auto shapes = Discover(path);
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_EQ(shapes[0].kind, "video");
    EXPECT_EQ(shapes[0].width, 1280);  // front first
    EXPECT_EQ(shapes[1].kind, "video");
    EXPECT_EQ(shapes[1].width, 640);
    EXPECT_EQ(shapes[2].kind, "audio");
    const PlayResult played = PlayToEnd(path);
    EXPECT_TRUE(played.reachedEnd);
    EXPECT_EQ(played.buffers.at("video_0"), 60);
    EXPECT_EQ(played.buffers.at("video_1"), 60);
    EXPECT_GT(played.buffers.at("audio_0"), 0);
    EXPECT_TRUE(ReadTelemetryLogFile(path).found);
  }
}

TEST_F(CardMakerFiles, ParkingRecordingHasOneStreamAndSilentOnesNoSound) {
  const auto parked = Discover(Make("park.MP4", "--streams 1 --parked --event"));
  ASSERT_EQ(parked.size(), 2u);
  EXPECT_EQ(parked[1].kind, "audio");
  const auto silent = Discover(Make("silent.AVI", "--streams 1 --audio none"));
  ASSERT_EQ(silent.size(), 1u);
  EXPECT_EQ(silent[0].kind, "video");
}

TEST_F(CardMakerFiles, CutRecordingIsShorterAndWithoutTelemetryOnlyWhenAsked) {
  const std::string whole = Make("whole.AVI", "--seed 5");
  const std::string cut = Make("cut.AVI", "--seed 5 --cut 0.5");
  EXPECT_NEAR(static_cast<double>(std::filesystem::file_size(cut)),
              static_cast<double>(std::filesystem::file_size(whole)) * 0.5, 2.0);
  EXPECT_FALSE(ReadTelemetryLogFile(cut).found);  // the log is written last, so a cut file loses it
  EXPECT_FALSE(ReadTelemetryLogFile(Make("none.MP4", "--no-telemetry")).found);
}

TEST_F(CardMakerFiles, MismatchedContainerAndCodecsAreRefused) {
  EXPECT_NE(RunTool(Tool("vx880-mkcard") + " --file " + (*s_dir / "x.MP4") + " --audio pcm 2>/dev/null").status, 0);
  EXPECT_NE(RunTool(Tool("vx880-mkcard") + " --file " + (*s_dir / "x.AVI") + " --audio aac 2>/dev/null").status, 0);
  EXPECT_NE(RunTool(Tool("vx880-mkcard") + " 2>/dev/null").status, 0);
}

TEST(CardMakerCard, NamesRecordingsAsTheCameraDoesAndWritesSetupCfg) {
  const TempDir card("card");
  ASSERT_EQ(RunTool(Tool("vx880-mkcard") + " " + card.Path().string() + " --seconds 1 --count 1").status, 0);
  EXPECT_EQ(std::filesystem::file_size(card.Path() / "setup.cfg"), 424u);
  const std::regex name(R"(\d{8}_\d{6}_[DEP]\d{2}\.(MP4|AVI))");
  std::map<char, int> types;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(card.Path() / "DCIM")) {
    if (!entry.is_regular_file()) continue;
    const std::string file = entry.path().filename().string();
    EXPECT_TRUE(std::regex_match(file, name)) << file;
    ++types[file[file.size() - 7]];  // the type letter, seven characters from the end
  }
  EXPECT_GE(types['D'], 3);
  EXPECT_GE(types['E'], 2);
  EXPECT_EQ(types['P'], 1);
}

}  // namespace
}  // namespace vx::test
