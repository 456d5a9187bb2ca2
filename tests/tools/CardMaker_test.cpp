// The card maker's files as plain GStreamer sees them (their streams, every frame played to the end), its
// card plan and setup.cfg, its memory over long recordings, and what it says when it cannot write.
#include <gst/gst.h>
#include <gst/pbutils/pbutils.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <memory>
#include <regex>

#include "CardPlan.h"
#include "RiffAviWriter.h"
#include "ToolRunner.h"
#include "core/settings/SetupRecord.h"
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
  const std::string bare = Make("none.AVI", "--no-telemetry");  // no log chunk at all: nothing to write
  EXPECT_FALSE(ReadTelemetryLogFile(bare).found);
  EXPECT_EQ(PlayToEnd(bare).buffers.at("video_0"), 60);
}

TEST_F(CardMakerFiles, MismatchedContainerAndCodecsAreRefused) {
  EXPECT_EQ(RunTool(Tool("vx880-mkcard") + " --file " + (*s_dir / "x.MP4") + " --audio pcm 2>/dev/null").status, 1);
  EXPECT_EQ(RunTool(Tool("vx880-mkcard") + " --audio pcm --file " + (*s_dir / "x.MP4") + " 2>/dev/null").status, 1);
  EXPECT_EQ(RunTool(Tool("vx880-mkcard") + " --file " + (*s_dir / "x.AVI") + " --audio aac 2>/dev/null").status, 1);
}

TEST_F(CardMakerFiles, BadOptionsAndValuesAreRefusedWithTheUsage) {
  for (const char* options : {"--seconds abc", "--seconds 0", "--seconds 3601", "--count 0", "--count 2x",
                              "--audio flac", "--codec vp9", "--cut 1", "--streams 3", "--seed -1", "a b"}) {
    const ToolOutput run = RunTool(Tool("vx880-mkcard") + " " + options + " " + (*s_dir / "card") + " 2>&1");
    EXPECT_EQ(run.status, 2) << options;
    EXPECT_NE(run.out.find("\nusage: vx880-mkcard"), std::string::npos) << options << ": " << run.out;
  }
  EXPECT_FALSE(std::filesystem::exists(*s_dir / "card"));
  EXPECT_EQ(RunTool(Tool("vx880-mkcard") + " 2>/dev/null").status, 2);  // no card folder
}

// The lines the card maker said about a failure: its own, not the toolkit's remarks.
std::vector<std::string> Complaints(const std::string& output) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < output.size();) {
    const std::size_t end = output.find('\n', at);
    const std::string line = output.substr(at, end - at);
    if (line.starts_with("vx880-mkcard: ")) lines.push_back(line);
    at = end == std::string::npos ? output.size() : end + 1;
  }
  return lines;
}

TEST_F(CardMakerFiles, WhatFailedIsSaidOnceWithWhereAndNoHalfFileStays) {
  const std::string card = *s_dir / "mounted";
  std::filesystem::create_directories(card);
  const std::string mkcard = Tool("vx880-mkcard");
  const auto run = [&](const char* mount, const std::string& arguments) {
    const ToolOutput out = RunTool(OnPrivateTmpfs(card, mount, mkcard + " " + arguments + " 2>&1; echo status=$?"));
    return std::pair(Complaints(out.out), out.out.substr(out.out.rfind("status=")));
  };
  using Lines = std::vector<std::string>;
  EXPECT_EQ(run("ro", "--seconds 1 --file " + card + "/a.MP4"),
            std::pair(Lines{"vx880-mkcard: " + card + "/a.MP4: Read-only file system"}, std::string("status=1\n")));
  EXPECT_EQ(run("ro", "--seconds 1 --file " + card + "/a.AVI"),
            std::pair(Lines{"vx880-mkcard: " + card + "/a.AVI: Read-only file system"}, std::string("status=1\n")));
  const std::string folder = card + "/sd/DCIM/100DRIVE";
  EXPECT_EQ(run("ro", "--seconds 1 " + card + "/sd"),
            std::pair(Lines{"vx880-mkcard: cannot make the folder " + folder + ": Read-only file system"},
                      std::string("status=1\n")));
  // A card too small for the recording: the disk's own reason, and the half-written file removed.
  const std::string leftOver = "; ls -A " + card;
  for (const char* name : {"/a.MP4", "/a.AVI"}) {
    const ToolOutput full = RunTool(OnPrivateTmpfs(card, "size=300k", mkcard + " --seconds 2 --file " + card + name +
                                                                          " 2>&1; echo status=$?" + leftOver));
    const Lines said = Complaints(full.out);
    ASSERT_EQ(said.size(), 1u) << full.out;
    EXPECT_TRUE(said[0].starts_with("vx880-mkcard: " + card + name + ": ")) << said[0];
    EXPECT_NE(said[0].find("No space left on"), std::string::npos) << said[0];
    EXPECT_TRUE(full.out.ends_with("status=1\n")) << full.out;  // and nothing listed after it
  }
}

TEST_F(CardMakerFiles, AFifoOrDeviceIsRefusedAsOutputWithoutWaiting) {
  const std::string fifo = *s_dir / "fifo.MP4";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/null")}) {
    const ToolOutput run = RunTool("timeout 60 " + Tool("vx880-mkcard") + " --seconds 1 --file " + path + " 2>&1");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Complaints(run.out), std::vector<std::string>{"vx880-mkcard: " + path + ": not a regular file"});
  }
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST_F(CardMakerFiles, AnAviTooLongForItsSizesIsKnownFromTheOptions) {
  // The estimate errs on the large side, but not wildly: measured on what the card maker writes.
  struct Kind {
    const char* name;
    const char* options;
    mkcard::VideoCodec codec;
    mkcard::AudioKind audio;
    int streams;
  };
  for (const Kind& kind : {Kind{"est-mjpeg.AVI", "", mkcard::VideoCodec::Mjpeg, mkcard::AudioKind::Pcm, 2},
                           Kind{"est-h264.AVI", "--codec h264", mkcard::VideoCodec::H264, mkcard::AudioKind::Pcm, 2},
                           Kind{"est-one.AVI", "--streams 1 --audio none", mkcard::VideoCodec::Mjpeg,
                                mkcard::AudioKind::None, 1}}) {
    mkcard::RecordingRecipe recipe;
    recipe.container = mkcard::Container::Avi;
    recipe.codec = kind.codec;
    recipe.audio = kind.audio;
    recipe.streams = kind.streams;
    recipe.drive.seconds = 2;
    const auto size = std::filesystem::file_size(Make(kind.name, kind.options));
    const std::uint64_t estimate = mkcard::EstimatedAviSize(recipe);
    EXPECT_LE(size, estimate) << kind.name;
    EXPECT_GT(size * 3, estimate) << kind.name;
  }
  // An hour of Motion JPEG is refused before anything is encoded; H.264 fits, and a card writes its long
  // recordings as MP4 instead.
  const std::string hour = *s_dir / "hour.AVI";
  const ToolOutput refused = RunTool("timeout 60 " + Tool("vx880-mkcard") + " --seconds 3600 --file " + hour + " 2>&1");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.out.find("past the 4 GiB its 32-bit sizes can hold"), std::string::npos) << refused.out;
  EXPECT_FALSE(std::filesystem::exists(hour));
  mkcard::RecordingRecipe h264;
  h264.container = mkcard::Container::Avi;
  h264.audio = mkcard::AudioKind::Pcm;
  h264.drive.seconds = 3600;
  EXPECT_LT(mkcard::EstimatedAviSize(h264), mkcard::kMaxRiffFileSize);
  for (const auto& [seconds, avis] : {std::pair{10, 2}, std::pair{3600, 0}}) {
    int aviCount = 0;
    for (const auto& recipe : mkcard::PlanCard({"/card", 2, seconds, 1})) {
      aviCount += recipe.container == mkcard::Container::Avi;
      EXPECT_EQ(recipe.path.ends_with(".AVI"), recipe.container == mkcard::Container::Avi) << recipe.path;
    }
    EXPECT_EQ(aviCount, avis) << seconds << " s";
  }
}

// Peak resident memory of one run of the card maker, in kilobytes.
long PeakMemoryKb(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    // A sanitized build keeps freed memory in a quarantine (256 MB) that fills as the run goes on; a
    // small one leaves the tool's own memory to compare. Other builds ignore the setting.
    const char* asan = std::getenv("ASAN_OPTIONS");
    ::setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + ":quarantine_size_mb=16").c_str(), 1);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return usage.ru_maxrss;
}

TEST_F(CardMakerFiles, MemoryStaysTheSameWhateverTheLength) {
  // Pictures used to be painted faster than they were encoded and piled up: 5 s took 400 MB, 60 s 2.6 GB.
  const auto peak = [](const std::string& file, const char* seconds) {
    return PeakMemoryKb({Tool("vx880-mkcard"), "--file", *s_dir / file, "--seconds", seconds});
  };
  const long shortPeak = peak("short.MP4", "1");
  const long longPeak = peak("long.MP4", "8");
  ASSERT_GT(shortPeak, 0);
  EXPECT_LT(longPeak, shortPeak + 32 * 1024) << shortPeak << " KB for 1 s, " << longPeak << " KB for 8 s";
}

TEST(CardMakerCard, NamesRecordingsAsTheCameraDoesAndWritesSetupCfg) {
  const TempDir card("card");
  ASSERT_EQ(RunTool(Tool("vx880-mkcard") + " " + card.Path().string() + " --seconds 1 --count 1").status, 0);
  EXPECT_EQ(std::filesystem::file_size(card.Path() / "setup.cfg"), 424u);
  const auto setup = ReadSetupRecord(card.Path().string());
  ASSERT_TRUE(setup.has_value());
  EXPECT_EQ(setup->wVideoModeA, 5);  // HD, as the 1280x720 front recordings are
  EXPECT_EQ(setup->wVideoModeB, 15);
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

TEST(CardMakerCard, AnExistingCardOrRecordingIsWrittenOverOnlyWhenForced) {
  const TempDir dir("replace");
  const std::string mkcard = Tool("vx880-mkcard") + " --seconds 1 --count 1 ";
  std::filesystem::create_directories(dir.Path() / "dcim-only/DCIM");
  std::filesystem::create_directories(dir.Path() / "setup-only");
  std::ofstream(dir / "setup-only/setup.cfg") << "the user's settings";
  std::ofstream(dir / "drive.MP4") << "the user's recording";
  struct Case {
    std::string arguments, said, keeps;  // keeps: a file whose old content must stay
  };
  for (const Case& c : {Case{dir / "dcim-only", dir / "dcim-only already holds a card", ""},
                        Case{dir / "setup-only", dir / "setup-only already holds a card", dir / "setup-only/setup.cfg"},
                        Case{"--file " + dir / "drive.MP4", dir / "drive.MP4 already exists", dir / "drive.MP4"}}) {
    const ToolOutput run = RunTool(mkcard + c.arguments + " 2>&1");
    EXPECT_EQ(run.status, 1) << c.arguments;
    EXPECT_TRUE(run.out.starts_with("vx880-mkcard: " + c.said)) << run.out;
    EXPECT_NE(run.out.find("--force"), std::string::npos) << run.out;
    if (!c.keeps.empty()) {
      std::ifstream in(c.keeps);
      EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}).starts_with("the user's")) << c.keeps;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "dcim-only/DCIM/100DRIVE"));
  EXPECT_EQ(RunTool(mkcard + "--force --file " + dir / "drive.MP4").status, 0);
  EXPECT_GT(std::filesystem::file_size(dir.Path() / "drive.MP4"), 10000u);
  // Forced over a setup.cfg that is a folder: the line gives the settings writer's own reason.
  std::filesystem::create_directories(dir.Path() / "odd/setup.cfg");
  const ToolOutput odd = RunTool(mkcard + "--force " + dir / "odd" + " 2>&1");
  EXPECT_EQ(odd.status, 1);
  EXPECT_NE(odd.out.find("vx880-mkcard: " + dir / "odd" + "/setup.cfg: the old file is not a regular file: "),
            std::string::npos) << odd.out;
}

TEST(CardPlan, ALongDayRollsIntoTheNextAndRecordingsNeverOverlap) {
  const auto recipes = mkcard::PlanCard({"/card", 100, 600, 1});
  ASSERT_EQ(recipes.size(), 106u);
  const std::regex name(R"(/card/DCIM/\d{3}[A-Z]+/(\d{8})_(\d{2})(\d{2})(\d{2})_[DEP]\d{2}\.(MP4|AVI))");
  std::set<std::string> names;
  long long previousEnd = 0;
  for (const auto& recipe : recipes) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(recipe.path, m, name)) << recipe.path;
    EXPECT_LT(std::stoi(m[2]), 24) << recipe.path;
    EXPECT_TRUE(names.insert(recipe.path).second) << recipe.path;
    const auto& t = recipe.drive.start;
    const long long start = (t.day - 6) * 86400LL + t.hour * 3600 + t.minute * 60 + t.second;
    EXPECT_GE(start, previousEnd) << recipe.path;
    previousEnd = start + recipe.drive.seconds;
  }
  // 100 drives of ten minutes from 08:15 end at 00:55; the later recordings follow one another.
  EXPECT_EQ(recipes[100].path, "/card/DCIM/101EVENT/20261207_005500_E01.MP4");
  EXPECT_EQ(recipes.back().path, "/card/DCIM/102PARK/20261207_014500_P01.MP4");
}

TEST(RiffAviWriter, RefusesAFileItsSizesCannotHold) {
  const TempDir dir("riff");
  const std::vector<std::uint8_t> frame(1000, 0x55);
  const auto write = [&](std::uint64_t limit, std::size_t frames, std::size_t telemetry, std::string& error) {
    mkcard::RiffAviWriter writer(limit);
    if (!writer.Open(dir / "limit.AVI", {{mkcard::kRearSize}, mkcard::VideoCodec::Mjpeg, false}, error)) return false;
    for (std::size_t i = 0; i < frames; ++i) {
      if (!writer.AddVideo(0, frame, true)) {
        error = writer.Error();
        return false;
      }
    }
    return writer.Finish(std::vector<std::uint8_t>(telemetry, 1), error);
  };
  std::string error;
  ASSERT_TRUE(write(20000, 10, 0, error)) << error;
  const auto fits = std::filesystem::file_size(dir / "limit.AVI");
  EXPECT_TRUE(write(fits, 10, 0, error)) << error;
  EXPECT_FALSE(write(fits - 1, 10, 0, error));  // the index of the last frame no longer fits
  EXPECT_EQ(error, "the AVI file would pass " + std::to_string(fits - 1) +
                       " bytes, the most its 32-bit sizes can hold; make the recording shorter or write MP4");
  EXPECT_FALSE(write(fits + 9, 10, 10, error));  // the telemetry chunk does not
  EXPECT_EQ(mkcard::kMaxRiffFileSize, 0xFFFFFFFFu);
}

}  // namespace
}  // namespace vx::test
