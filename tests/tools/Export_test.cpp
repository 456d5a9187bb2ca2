// vx880-export on recordings the card maker writes: each way of exporting read back with GStreamer, the
// overlay's pixels, the manifest's hashes against sha256sum, --verify, and the originals left unchanged.
#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ReadBack.h"
#include "ToolRunner.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;
constexpr double kFrameS = 1.0 / 30.0;

// The first picture of the file's first video stream as 1280x720 grey bytes.
std::string FirstFrameGrey(const std::string& path) {
  const std::string description = "filesrc location=\"" + path + "\"" +
                                  " ! qtdemux name=d d.video_0 ! decodebin ! videoconvert ! videoscale ! video/x-raw,format=GRAY8,width=1280,"
                                  "height=720 ! appsink name=out sync=false";
  GstElement* pipeline = gst_parse_launch(description.c_str(), nullptr);
  GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "out");
  gst_element_set_state(pipeline, GST_STATE_PAUSED);
  GstSample* sample = gst_app_sink_try_pull_preroll(GST_APP_SINK(sink), 10 * GST_SECOND);
  std::string bytes;
  if (sample) {
    GstMapInfo map;
    gst_buffer_map(gst_sample_get_buffer(sample), &map, GST_MAP_READ);
    bytes.assign(reinterpret_cast<const char*>(map.data), map.size);
    gst_buffer_unmap(gst_sample_get_buffer(sample), &map);
    gst_sample_unref(sample);
  }
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(sink);
  gst_object_unref(pipeline);
  return bytes;
}

// Mean absolute difference of two grey pictures within a rectangle.
double MeanDifference(const std::string& a, const std::string& b, int x0, int y0, int x1, int y1) {
  double sum = 0.0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const std::size_t at = static_cast<std::size_t>(y) * 1280 + static_cast<std::size_t>(x);
      sum += std::abs(static_cast<unsigned char>(a[at]) - static_cast<unsigned char>(b[at]));
    }
  }
  return sum / ((x1 - x0) * (y1 - y0));
}

std::string Sha256Sum(const std::string& path) { return RunTool("sha256sum " + Quote(path)).out.substr(0, 64); }

class ExportTool : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    gst_init(nullptr, nullptr);
    s_dir = new TempDir("export-tool");
    // One trip of two recordings (the second starts as the first ends), front, rear and sound.
    fs::create_directories(*s_dir / "card/DCIM/100DRIVE");
    for (const char* name : {"20261206_081500_D01.MP4", "20261206_081506_D02.MP4"}) {
      ASSERT_EQ(RunTool(Tool("vx880-mkcard") + " --file " + Quote(*s_dir / "card/DCIM/100DRIVE/" + name) +
                        " --seconds 6 >/dev/null").status, 0);
    }
  }
  static void TearDownTestSuite() { delete s_dir; }
  static std::string Card() { return *s_dir / "card"; }
  static std::string Original(int n) { return *s_dir / ("card/DCIM/100DRIVE/20261206_08150" + std::string(n == 1 ? "0_D01" : "6_D02") + ".MP4"); }
  static ToolOutput Export(const std::string& options) {
    // A pipeline that never ends fails the case instead of holding the whole run.
    return RunTool("timeout 120 " + Tool("vx880-export") + " " + options + " " + Quote(Card()) + " 2>&1");
  }
  static TempDir* s_dir;
};
TempDir* ExportTool::s_dir = nullptr;

TEST_F(ExportTool, EachWayReadsBackWithTheSpansLengthAndItsStreams) {
  const struct {
    const char* options;
    const char* file;
    double seconds;
    int video, audio, width;
  } cases[] = {
      {"--from 1 --to 4", "pip.mp4", 3.0, 1, 1, 1280},
      {"--from 4 --to 9 --rear side", "side.mp4", 5.0, 1, 1, 2560},  // crosses into the second recording
      {"--from 1 --to 3 --rear none --no-sound", "front.mp4", 2.0, 1, 0, 1280},
      // The card maker writes a key frame each second: the copy starts at the one at 1 s.
      {"--from 1.5 --to 4 --copy", "copy_front.MP4", 3.0, 1, 1, 1280},
      {"--from 1.5 --to 4 --copy", "copy_rear.MP4", 3.0, 1, 0, 640},
  };
  const std::string before = FileBytes(Original(1)) + FileBytes(Original(2));
  for (const auto& c : cases) {
    const std::string out = *s_dir / c.file;
    const std::string named = std::string(c.file).find("copy") == 0 ? *s_dir / "copy.mp4" : out;
    const ToolOutput run = Export(std::string(c.options) + " --out " + Quote(named));
    ASSERT_EQ(run.status, 0) << c.options << "\n" << run.out;
    const ReadBack read = Discover(out);
    EXPECT_NEAR(read.seconds, c.seconds, kFrameS + 0.001) << c.options;
    EXPECT_EQ(read.videoStreams, c.video) << c.options;
    EXPECT_EQ(read.audioStreams, c.audio) << c.options;
    EXPECT_EQ(read.width, c.width) << c.options;
    EXPECT_FALSE(fs::exists(out + ".part"));
  }
  EXPECT_EQ(FileBytes(Original(1)) + FileBytes(Original(2)), before) << "an original was changed";
}

TEST_F(ExportTool, OverlayIsOnThePictureAndNowhereElse) {
  const std::string out = *s_dir / "overlay.mp4";
  ASSERT_EQ(Export("--from 0 --to 1 --rear none --out " + Quote(out)).status, 0);
  const std::string exported = FirstFrameGrey(out), original = FirstFrameGrey(Original(1));
  ASSERT_EQ(exported.size(), 1280u * 720u);
  ASSERT_EQ(original.size(), 1280u * 720u);
  // The text block sits at the bottom left, above the camera's own stamp; the sky above the road has none.
  EXPECT_GT(MeanDifference(exported, original, 16, 520, 560, 660), 12.0);
  EXPECT_LT(MeanDifference(exported, original, 400, 200, 900, 300), 4.0);
}

TEST_F(ExportTool, ManifestHashesMatchSha256sumAndVerifyFindsAChangedByte) {
  const std::string out = *s_dir / "verify.mp4";
  ASSERT_EQ(Export("--from 2 --to 8 --out " + Quote(out)).status, 0);
  const std::string manifest = FileBytes(*s_dir / "verify.manifest.txt");
  for (const std::string& file : {Original(1), Original(2), out, *s_dir / "verify.gpx"}) {
    EXPECT_NE(manifest.find("sha256: " + Sha256Sum(file)), std::string::npos) << file << "\n" << manifest;
  }
  EXPECT_NE(manifest.find("original: DCIM/100DRIVE/20261206_081506_D02.MP4"), std::string::npos) << manifest;
  const std::string verify = Tool("vx880-export") + " --verify " + Quote(*s_dir / "verify.manifest.txt");
  const ToolOutput passing = RunTool(verify);
  EXPECT_EQ(passing.status, 0) << passing.out;

  const std::string copy = *s_dir / "changed";  // the changed byte goes into a copy of the card
  fs::copy(Card(), copy, fs::copy_options::recursive);
  {
    std::fstream file(copy + "/DCIM/100DRIVE/20261206_081506_D02.MP4", std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(5000);
    const char c = static_cast<char>(file.peek());
    file.put(static_cast<char>(c ^ 1));
  }
  const ToolOutput failing = RunTool(verify + " --card " + Quote(copy));
  EXPECT_EQ(failing.status, 1);
  EXPECT_NE(failing.out.find("DIFFERS  " + copy + "/DCIM/100DRIVE/20261206_081506_D02.MP4"), std::string::npos)
      << failing.out;
  EXPECT_NE(failing.out.find("matches  " + copy + "/DCIM/100DRIVE/20261206_081500_D01.MP4"), std::string::npos);
}

TEST_F(ExportTool, BadRequestsSayWhyAndLeaveNoFile) {
  const struct {
    std::string options;
    int status;
    std::string says;
  } cases[] = {
      {"--from 5 --to 30", 1, "runs past the recordings"},
      {"--from 1 --to 2 --out /nonexistent-folder/x.mp4", 1, "cannot write in /nonexistent-folder"},
      {"--event 99", 1, "there is no event 99"},
      {"--from 1", 2, "either --from and --to, or --event"},
      {"--from soon --to 2", 1, "ISO 8601"},
      {"--from 1 --to 2 --rear top", 2, "pip, side or none"},
  };
  for (const auto& c : cases) {
    const bool namesOut = c.options.find("--out") != std::string::npos;
    const ToolOutput run = Export(c.options + (namesOut ? "" : " --out " + Quote(*s_dir / "bad.mp4")));
    EXPECT_EQ(run.status, c.status) << c.options << "\n" << run.out;
    EXPECT_NE(run.out.find(c.says), std::string::npos) << c.options << "\n" << run.out;
  }
  for (const char* left : {"bad.mp4", "bad.mp4.part", "bad.gpx", "bad.manifest.txt"}) EXPECT_FALSE(fs::exists(*s_dir / left));
}

// A recording cut by a power loss whose header still claims its whole length: the export holds what there is
// and its manifest says how much that is, instead of claiming the span.
TEST_F(ExportTool, CutRecordingExportStatesWhatItHolds) {
  const std::string cut = *s_dir / "cut/20261206_090000_D01.AVI";
  fs::create_directories(fs::path(cut).parent_path());
  ASSERT_EQ(RunTool(Tool("vx880-mkcard") + " --file " + Quote(cut) + " --codec h264 --cut 0.5 --seconds 8 >/dev/null").status, 0);
  const std::string out = *s_dir / "cut.mp4";
  const ToolOutput run = RunTool("timeout 120 " + Tool("vx880-export") + " --from 1 --to 7 --out " + Quote(out) + " " + Quote(cut) + " 2>&1");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_LT(Discover(out).seconds, 4.0);
  EXPECT_NE(FileBytes(*s_dir / "cut.manifest.txt").find("note: the export holds only"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace vx::test
