// The card maker's files as plain GStreamer plays them, its card plan and setup.cfg, its memory over long
// recordings, and what it says when it refuses or cannot write.
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <list>
#include <regex>
#include <set>

#include "CardPlan.h"
#include "DriveSimulator.h"
#include "RiffAviWriter.h"
#include "ToolRunner.h"
#include "../core/telemetry/ExifToolFixes.h"
#include "core/settings/SetupRecord.h"
#include "core/telemetry/TelemetryLog.h"
#include "core/telemetry/layouts/NmeaFixes.h"
#include "engine/GstPtr.h"

namespace vx::test {
namespace {

using enum mkcard::VideoCodec;
using enum mkcard::AudioKind;

struct PlayedStream {
  bool video = false;
  int width = 0;
  int buffers = 0;
};

// Decodes every stream of the file with uridecodebin as fast as it can, in the order of its pads (the
// pictures first, each in file order): "video WIDTH FRAMES" or "audio" once it gave sound. Empty unless the
// file played to its end without an error.
std::vector<std::string> PlayedStreams(const std::string& path) {
  std::list<PlayedStream> streams;
  const GstPtr<GstElement> pipeline = Retain(gst_pipeline_new(nullptr));
  GstElement* decode = gst_element_factory_make("uridecodebin", nullptr);
  g_object_set(decode, "uri", ("file://" + std::filesystem::absolute(path).string()).c_str(), nullptr);
  gst_bin_add(GST_BIN(pipeline.get()), decode);
  using Context = std::pair<GstElement*, std::list<PlayedStream>*>;
  Context context{pipeline.get(), &streams};
  g_signal_connect(decode, "pad-added", G_CALLBACK(+[](GstElement*, GstPad* pad, Context* c) {
    const GstPtr<GstCaps> caps = Adopt(gst_pad_get_current_caps(pad));
    const GstStructure* format = gst_caps_get_structure(caps.get(), 0);
    PlayedStream& stream = c->second->emplace_back();
    stream.video = g_str_has_prefix(gst_structure_get_name(format), "video");
    gst_structure_get_int(format, "width", &stream.width);
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(sink, "sync", FALSE, "signal-handoffs", TRUE, nullptr);
    g_signal_connect(sink, "handoff", G_CALLBACK(+[](GstElement*, GstBuffer*, GstPad*, int* n) { ++*n; }),
                     &stream.buffers);
    gst_bin_add(GST_BIN(c->first), sink);
    gst_element_sync_state_with_parent(sink);
    const GstPtr<GstPad> sinkPad = Adopt(gst_element_get_static_pad(sink, "sink"));
    gst_pad_link(pad, sinkPad.get());
  }), &context);
  gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
  const GstPtr<GstBus> bus = Adopt(gst_element_get_bus(pipeline.get()));
  const GstPtr<GstMessage> end = Adopt(gst_bus_timed_pop_filtered(
      bus.get(), 60 * GST_SECOND, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  std::vector<std::string> shapes;
  if (!end || GST_MESSAGE_TYPE(end.get()) != GST_MESSAGE_EOS) return shapes;
  for (const PlayedStream& s : streams) {
    if (s.video) shapes.push_back("video " + std::to_string(s.width) + " " + std::to_string(s.buffers));
    else if (s.buffers > 0) shapes.push_back("audio");
  }
  return shapes;
}

// An AVI recording of these streams, as the card maker's options make it.
mkcard::RecordingRecipe AviRecipe(mkcard::VideoCodec codec, mkcard::AudioKind audio, int pictures) {
  return {.path = {}, .rearPath = {}, .container = mkcard::Container::Avi, .codec = codec, .audio = audio,
          .streams = pictures, .drive = {.seconds = 2}};
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

TEST_F(CardMakerFiles, EveryKindOfRecordingPlaysToTheEndAndAnAvisSizeIsKnownBeforehand) {
  struct Kind {
    const char* name;
    const char* options;
    mkcard::VideoCodec codec;
    mkcard::AudioKind audio;
    int pictures;
    bool telemetry;
    const char* rear = nullptr;  // --split: the rear picture's own file, paired by name or folder
  };
  for (const Kind& kind : {Kind{"two.MP4", "", H264, Aac, 2, true}, Kind{"two.AVI", "", Mjpeg, Pcm, 2, true},
                           Kind{"two-h264.AVI", "--codec h264", H264, Pcm, 2, true},
                           Kind{"park.MP4", "--streams 1 --parked --event", H264, Aac, 1, true},
                           Kind{"silent.AVI", "--streams 1 --audio none", Mjpeg, None, 1, true},
                           Kind{"none.MP4", "--no-telemetry", H264, Aac, 2, false},
                           Kind{"none.AVI", "--no-telemetry", Mjpeg, Pcm, 2, false},  // no empty log chunk
                           Kind{"split_NF.MP4", "--split", H264, Aac, 1, true, "split_NR.MP4"},
                           Kind{"Front/split.AVI", "--split", Mjpeg, Pcm, 1, true, "Rear/split.AVI"}}) {
    SCOPED_TRACE(kind.name);
    const std::string path = Make(kind.name, kind.options);
    std::vector<std::string> streams{"video 1280 60", "video 640 60"};  // front first
    streams.resize(kind.pictures);
    if (kind.audio != None) streams.push_back("audio");
    EXPECT_EQ(PlayedStreams(path), streams);
    EXPECT_EQ(ReadTelemetryLogFile(path).found, kind.telemetry);
    if (kind.rear) {
      EXPECT_EQ(PlayedStreams(*s_dir / kind.rear), std::vector<std::string>{"video 640 60"});
      EXPECT_FALSE(ReadTelemetryLogFile(*s_dir / kind.rear).found);
    }
    if (!path.ends_with(".AVI")) continue;
    // The estimate errs on the large side, but not wildly: measured on what the card maker writes.
    const auto estimate = mkcard::EstimatedAviSize(AviRecipe(kind.codec, kind.audio, kind.pictures));
    EXPECT_LE(std::filesystem::file_size(path), estimate);
    EXPECT_GT(std::filesystem::file_size(path) * 3, estimate);
  }
  // The log is written last, so a cut file loses it.
  EXPECT_FALSE(ReadTelemetryLogFile(Make("cut.AVI", "--cut 0.5")).found);
}

// ExifTool's reading of a layout: the number of fixes and the first one's latitude and longitude.
struct ExifToolTrack {
  std::size_t fixes = 0;
  double latitude = 0.0, longitude = 0.0;
};

// Fixes embedded in an MP4 file, as ExifTool extracts them document by document.
ExifToolTrack EmbeddedFixes(const std::string& path) {
  const auto fixes = ExifToolFixes(path);
  return fixes.empty() ? ExifToolTrack{} : ExifToolTrack{fixes.size(), fixes[0][0], fixes[0][1]};
}

// A GPS log beside the recording, as ExifTool's geotagger loads it and places a picture taken at `utc`.
ExifToolTrack GeotaggedFixes(const std::string& log, const std::string& utc) {
  const std::string xmp = log + ".xmp";
  const std::string loaded = RunTool("LC_ALL=C exiftool -v -geotag " + Quote(log) + " '-geotime=" + utc + "' -o " +
                                     Quote(xmp) + " 2>&1; LC_ALL=C exiftool -n -p '$GPSLatitude $GPSLongitude' " +
                                     Quote(xmp)).out;
  std::smatch m;
  ExifToolTrack track;
  if (std::regex_search(loaded, m, std::regex(R"(Loaded (\d+) points[\s\S]*\n(-?[0-9.]+) (-?[0-9.]+))"))) {
    track = {std::stoul(m[1]), std::stod(m[2]), std::stod(m[3])};
  }
  return track;
}

TEST_F(CardMakerFiles, EachCameraLayoutCarriesTheDriveAsExifToolReadsIt) {
  // The drive of a three-second --file recording, and its first fix.
  const mkcard::Drive drive = mkcard::SimulateDrive({.start = {2026, 12, 6, 8, 15, 0}, .seconds = 3});
  NmeaFixCollector collector;
  collector.AddLine("$" + std::string(reinterpret_cast<const char*>(drive.records.front().bytes.data())));
  const std::vector<GpsSample> first = collector.TakeFixes();
  ASSERT_EQ(first.size(), 1u);
  using Reader = ExifToolTrack (*)(const std::string& recording);
  const Reader beside = [](const std::string& recording) {
    return GeotaggedFixes(std::filesystem::path(recording).replace_extension(".NMEA"), "2026:12:05 23:15:00Z");  // 08:15 at UTC+9
  };
  for (const auto& [layout, read] : {std::pair<const char*, Reader>{"novatek", EmbeddedFixes},
                                     {"pittasoft", EmbeddedFixes}, {"nmea", beside}}) {
    SCOPED_TRACE(layout);
    const std::string path = Make(std::string(layout) + ".MP4", "--seconds 3 --layout " + std::string(layout));
    const ExifToolTrack track = read(path);
    EXPECT_EQ(track.fixes, 3u);
    EXPECT_NEAR(track.latitude, first[0].latitude, 1e-5);
    EXPECT_NEAR(track.longitude, first[0].longitude, 1e-5);
    EXPECT_FALSE(ReadTelemetryLogFile(path).found);  // instead of the camera's own log, not beside it
    EXPECT_EQ(PlayedStreams(path), (std::vector<std::string>{"video 1280 90", "video 640 90", "audio"}));
  }
}

TEST_F(CardMakerFiles, AnHourOfMotionJpegInAviIsRefusedBeforeAnythingIsEncoded) {
  const std::string hour = *s_dir / "hour.AVI";
  const ToolOutput refused =
      RunTool("timeout 60 " + Tool("vx880-mkcard") + " --seconds 3600 --file " + hour + " 2>&1");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.out.find("past the 4 GiB its 32-bit sizes can hold"), std::string::npos) << refused.out;
  EXPECT_FALSE(std::filesystem::exists(hour));
  // A card writes its long recordings as MP4 instead.
  const auto isAvi = [](const mkcard::RecordingRecipe& r) { return r.container == mkcard::Container::Avi; };
  EXPECT_TRUE(std::ranges::none_of(mkcard::PlanCard({"/card", 2, 3600, 1}), isAvi));
}

TEST_F(CardMakerFiles, BadOptionsAndMismatchedCodecsAreRefused) {
  const std::string mkcard = Tool("vx880-mkcard") + " ", card = *s_dir / "card", mp4 = *s_dir / "x.MP4";
  for (const char* options : {"--seconds abc", "--seconds 0", "--seconds 3601", "--count 0", "--count 2x",
                              "--audio flac", "--codec vp9", "--cut 1", "--streams 3", "--seed -1", "a b",
                              "--split", "--layout gpmf", "--layout nmea"}) {
    const ToolOutput run = RunTool(mkcard + options + " " + card + " 2>&1");
    EXPECT_EQ(run.status, 2) << options;
    EXPECT_NE(run.out.find("\nusage: vx880-mkcard"), std::string::npos) << options << ": " << run.out;
  }
  EXPECT_FALSE(std::filesystem::exists(card));
  EXPECT_EQ(RunTool(mkcard + "2>/dev/null").status, 2);  // no card folder
  // Codecs the container does not carry (1); a split of one stream or of a file named as no front file (2).
  const std::string avi = *s_dir / "x.AVI", front = *s_dir / "x_NF.MP4";
  for (const auto& [arguments, status] :
       {std::pair{"--file " + mp4 + " --audio pcm", 1}, {"--audio pcm --file " + mp4, 1},
        {"--file " + avi + " --audio aac", 1}, {"--file " + avi + " --layout novatek", 1},
        {"--split --streams 1 --file " + front, 2},
        {"--split --file " + mp4, 2}, {"--split --file " + *s_dir / "x_NR.MP4", 2}}) {
    EXPECT_EQ(RunTool(mkcard + arguments + " 2>/dev/null").status, status) << arguments;
  }
  EXPECT_FALSE(std::filesystem::exists(front));
}

TEST_F(CardMakerFiles, WhatFailedIsSaidOnceWithWhereAndNoHalfFileStays) {
  const std::string card = *s_dir / "mounted", said = *s_dir / "said.txt";
  std::filesystem::create_directories(card);
  // The exit status, the card maker's own lines (not the toolkit's remarks), then what is left on the card.
  const auto run = [&](const char* mount, const std::string& arguments) {
    const std::string report = "; echo status=$?; grep '^vx880-mkcard: ' " + said + "; ls -A " + card;
    const std::string command = Tool("vx880-mkcard") + " " + arguments + " 2>" + said + report;
    return RunTool(OnPrivateTmpfs(card, mount, command)).out;
  };
  const std::string folder = card + "/sd/DCIM/100DRIVE";
  for (const auto& [arguments, line] :
       {std::pair{"--file " + card + "/a.MP4", card + "/a.MP4: Read-only file system"},
        {"--file " + card + "/a.AVI", card + "/a.AVI: Read-only file system"},
        {card + "/sd", "cannot make the folder " + folder + ": Read-only file system"}}) {
    EXPECT_EQ(run("ro", "--seconds 1 " + arguments), "status=1\nvx880-mkcard: " + line + "\n");
  }
  // A card too small for the recording: the disk's own reason, and the half-written files removed.
  for (const auto& [name, split] : {std::pair{"/a.MP4", ""}, {"/a.AVI", ""}, {"/a_NF.MP4", " --split"}}) {
    const std::string out = run("size=300k", "--seconds 2 --file " + card + name + split);
    const std::regex expected("status=1\nvx880-mkcard: " + card + name + ": [^\n]*No space left on[^\n]*\n");
    EXPECT_TRUE(std::regex_match(out, expected)) << out;
  }
}

// Peak resident memory of one run of the card maker, in kilobytes; -1 when it failed. A sanitized build
// keeps freed memory in a quarantine (256 MB) that fills as the run goes on; a small one leaves the tool's
// own memory to compare. Other builds ignore the setting.
long PeakMemoryKb(const std::string& file, const char* seconds) {
  const std::string tool = Tool("vx880-mkcard");
  const char* asan = std::getenv("ASAN_OPTIONS");
  const pid_t child = ::fork();
  if (child == 0) {
    ::setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + ":quarantine_size_mb=16").c_str(), 1);
    ::execl(tool.c_str(), tool.c_str(), "--file", file.c_str(), "--seconds", seconds, nullptr);
    ::_exit(127);
  }
  int status = -1;
  rusage usage{};
  return ::wait4(child, &status, 0, &usage) == child && status == 0 ? usage.ru_maxrss : -1;
}

TEST_F(CardMakerFiles, MemoryStaysTheSameWhateverTheLength) {
  // Pictures used to be painted faster than they were encoded and piled up: 5 s took 400 MB, 60 s 2.6 GB.
  const long shortPeak = PeakMemoryKb(*s_dir / "short.MP4", "1");
  const long longPeak = PeakMemoryKb(*s_dir / "long.MP4", "8");
  ASSERT_GT(shortPeak, 0);
  EXPECT_LT(longPeak, shortPeak + 32 * 1024) << shortPeak << " KB for 1 s, " << longPeak << " KB for 8 s";
}

TEST(CardMakerCard, WritesThePlannedRecordingsAndTheSetupCfgOfAnHdCamera) {
  const TempDir card("card");
  ASSERT_EQ(RunTool(Tool("vx880-mkcard") + " " + card.Path().string() + " --seconds 1 --count 1").status, 0);
  const auto setup = ReadSetupRecord(card.Path().string());
  ASSERT_TRUE(setup.has_value());
  EXPECT_EQ(setup->wVideoModeA, 5);  // HD, as the 1280x720 front recordings are
  EXPECT_EQ(setup->wVideoModeB, 15);
  std::set<std::string> planned, written;
  for (const auto& recipe : mkcard::PlanCard({card.Path().string(), 1, 1, 1})) planned.insert(recipe.path);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(card.Path() / "DCIM")) {
    if (entry.is_regular_file()) written.insert(entry.path().string());
  }
  EXPECT_EQ(written, planned);
}

TEST(CardMakerCard, AnExistingCardOrRecordingIsWrittenOverOnlyWhenForced) {
  const TempDir dir("replace");
  const std::string mkcard = Tool("vx880-mkcard") + " --seconds 1 --count 1 ";
  std::filesystem::create_directories(dir.Path() / "dcim-only/DCIM");
  std::filesystem::create_directories(dir.Path() / "setup-only");
  std::ofstream(dir / "setup-only/setup.cfg") << "the user's settings";
  std::ofstream(dir / "drive.MP4") << "the user's recording";
  std::ofstream(dir / "pair_NR.MP4") << "the user's rear recording";
  const std::string held = " already holds a card (setup.cfg or DCIM); --force writes over it\n";
  const std::string exists = " already exists; --force replaces it\n";
  for (const auto& [arguments, said] : {std::pair{dir / "dcim-only", dir / "dcim-only" + held},
                                        {dir / "setup-only", dir / "setup-only" + held},
                                        {"--file " + dir / "drive.MP4", dir / "drive.MP4" + exists},
                                        {"--split --file " + dir / "pair_NF.MP4", dir / "pair_NR.MP4" + exists}}) {
    const ToolOutput run = RunTool(mkcard + arguments + " 2>&1");
    EXPECT_EQ(std::pair(run.status, run.out), std::pair(1, "vx880-mkcard: " + said));
  }
  EXPECT_EQ(FileBytes(dir / "setup-only/setup.cfg"), "the user's settings");
  EXPECT_EQ(FileBytes(dir / "drive.MP4"), "the user's recording");
  EXPECT_EQ(FileBytes(dir / "pair_NR.MP4"), "the user's rear recording");
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "pair_NF.MP4"));
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
  // The type letter stands seven characters from the end, where the catalogue reads it.
  const std::regex name(R"(/card/DCIM/\d{3}[A-Z]+/\d{8}_(\d{2})\d{4}_[DEP]\d{2}\.(MP4|AVI))");
  std::set<std::string> names;
  long long previousEnd = 0;
  for (const auto& recipe : recipes) {
    EXPECT_EQ(recipe.path.ends_with(".AVI"), recipe.container == mkcard::Container::Avi) << recipe.path;
    std::smatch m;
    ASSERT_TRUE(std::regex_match(recipe.path, m, name)) << recipe.path;
    EXPECT_LT(std::stoi(m[1]), 24) << recipe.path;
    EXPECT_TRUE(names.insert(recipe.path).second) << recipe.path;
    const auto& t = recipe.drive.start;
    const long long start = (t.day - 6) * 86400LL + t.hour * 3600 + t.minute * 60 + t.second;
    EXPECT_GE(start, previousEnd) << recipe.path;
    previousEnd = start + recipe.drive.seconds;
  }
  EXPECT_EQ(std::ranges::count(recipes, mkcard::Container::Avi, &mkcard::RecordingRecipe::container), 2);
  // 100 drives of ten minutes from 08:15 end at 00:55; the later recordings follow one another.
  EXPECT_EQ(recipes[0].path, "/card/DCIM/100DRIVE/20261206_081500_D01.MP4");
  EXPECT_EQ(recipes[100].path, "/card/DCIM/101EVENT/20261207_005500_E01.MP4");
  EXPECT_EQ(recipes.back().path, "/card/DCIM/102PARK/20261207_014500_P01.MP4");
}

TEST(RiffAviWriter, RefusesAFileItsSizesCannotHold) {
  const TempDir dir("riff");
  const std::vector<std::uint8_t> frame(1000, 0x55);
  const auto write = [&](std::uint64_t limit, std::size_t telemetry, std::string& error) {
    mkcard::RiffAviWriter writer(limit);
    if (!writer.Open(dir / "limit.AVI", {{mkcard::kRearSize}, Mjpeg, false}, error)) return false;
    for (int i = 0; i < 10; ++i) {
      if (!writer.AddVideo(0, frame, true)) {
        error = writer.Error();
        return false;
      }
    }
    return writer.Finish(std::vector<std::uint8_t>(telemetry, 1), error);
  };
  std::string error;
  ASSERT_TRUE(write(20000, 0, error)) << error;
  const auto fits = std::filesystem::file_size(dir / "limit.AVI");
  EXPECT_TRUE(write(fits, 0, error)) << error;
  EXPECT_FALSE(write(fits - 1, 0, error));  // the index of the last frame no longer fits
  EXPECT_EQ(error, "the AVI file would pass " + std::to_string(fits - 1) +
                       " bytes, the most its 32-bit sizes can hold; make the recording shorter or write MP4");
  EXPECT_FALSE(write(fits + 9, 10, error));  // the telemetry chunk does not
}

}  // namespace
}  // namespace vx::test
