// CPU seconds to play the two-stream recording to its end at 2.0x, beside the same decoders into synced
// fake sinks and beside GStreamer converting their pictures to the views' sizes. Run on a real X server
// (QT_QPA_PLATFORM=xcb, DISPLAY set) the views are windows on it and its CPU is counted with ours. The whole
// vx880-player program is timed too: its window, its start and end, and the map it prepares for the
// recording's GPS track.
#include <sys/resource.h>

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>

#include "BenchCommon.h"

namespace {

using namespace vx;
using namespace vx::bench;

constexpr int kRuns = 10;
constexpr auto kLimit = std::chrono::seconds(20);

// Wall seconds of each of our runs: a run that the end cut short would show here, not only in the CPU.
std::vector<double> g_wallSeconds;
// The X server's share of each shown run of ours, already included in that run's figure.
std::vector<double> g_xServerSeconds;

// CPU seconds of this process and of the X server while `play` runs.
double CpuOf(const std::function<void()>& play, std::vector<double>* xServerShare = nullptr) {
  const double process = CpuSeconds();
  const double xServer = XServerCpuSeconds();
  play();
  const double xServerUsed = XServerCpuSeconds() - xServer;
  if (xServerShare) xServerShare->push_back(xServerUsed);
  return CpuSeconds() - process + xServerUsed;
}

double OursOnce(const std::string& path, bool shown) {
  CViewer viewer(shown);
  CPlaybackEngine& engine = viewer.engine;
  if (engine.Open(path) != 1) return -1;
  CRecordingGraph& recording = *engine.Recording();
  engine.ChangeRate(2.0f);
  RefTime duration = 0;
  recording.GetDuration(duration);
  return CpuOf(
      [&] {
        const auto start = Clock::now();
        recording.Run();
        // As the main window does: a 100 ms tick reads the position and stops at the end.
        QEventLoop loop;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
          RefTime position = 0;
          recording.GetPosition(position);
          if (IsAtEnd(position, duration) || Clock::now() - start > kLimit) loop.quit();
        });
        tick.start(100);
        loop.exec();
        if (shown) g_wallSeconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
      },
      shown ? &g_xServerSeconds : nullptr);
}

double ChildrenCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The program (with the processes it waits for) and the X server, from its start to its end at the recording's.
double ProgramOnce(const std::string& path) {
  const std::string command = VX_BIN_DIR "/vx880-player --speed 2.0 --quit-at-end " + path + " >/dev/null 2>&1";
  const double children = ChildrenCpuSeconds();
  const double xServer = XServerCpuSeconds();
  if (std::system(command.c_str()) != 0) return -1;
  return ChildrenCpuSeconds() - children + XServerCpuSeconds() - xServer;
}

double PlainOnce(const std::string& path, const char* viewScaling) {
  GstPtr<GstElement> pipeline = PlainPipeline(path, true, viewScaling);
  gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
  WaitForMessage(pipeline.get(), GST_MESSAGE_ASYNC_DONE, kLimit);
  gst_element_seek(pipeline.get(), 2.0, GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                   GST_SEEK_TYPE_SET, 0, GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE);
  WaitForMessage(pipeline.get(), GST_MESSAGE_ASYNC_DONE, kLimit);
  const double used = CpuOf([&] {
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    WaitForMessage(pipeline.get(), GST_MESSAGE_EOS, kLimit);
  });
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  return used;
}

}  // namespace

int main(int argc, char** argv) {
  const auto app = InitProcess(argc, argv);
  const std::string path = DemoRecording(6);
  std::vector<double> ours;
  std::vector<double> oursUnpainted;
  std::vector<double> plain;
  std::vector<double> plainBilinear;
  std::vector<double> plainNearest;
  std::vector<double> program;
  for (int i = 0; i < kRuns; ++i) {
    program.push_back(ProgramOnce(path));
    ours.push_back(OursOnce(path, true));
    oursUnpainted.push_back(OursOnce(path, false));
    plain.push_back(PlainOnce(path, nullptr));
    plainBilinear.push_back(PlainOnce(path, "bilinear"));
    plainNearest.push_back(PlainOnce(path, "nearest-neighbour"));
  }
  Print("runs", kRuns);
  Print("recording_seconds", 6);
  Print("x_server_counted", qEnvironmentVariable("QT_QPA_PLATFORM") == "xcb" ? 1 : 0);
  Print("ours_wall_seconds_per_run_min", *std::min_element(g_wallSeconds.begin(), g_wallSeconds.end()));
  Print("ours_wall_seconds_per_run_median", Median(g_wallSeconds));
  Print("ours_views_hidden_cpu_seconds_at_2x_median", Median(oursUnpainted));
  Print("ours_x_server_share_cpu_seconds_median", Median(g_xServerSeconds));
  Print("ours_cpu_seconds_at_2x_median", Median(ours));
  Print("gstreamer_same_decoders_converted_to_view_sizes_nearest_cpu_seconds_median", Median(plainNearest));
  Print("gstreamer_same_decoders_converted_to_view_sizes_bilinear_cpu_seconds_median", Median(plainBilinear));
  Print("ratio_to_gstreamer_converted_to_view_sizes_nearest", Median(ours) / Median(plainNearest));
  Print("ratio_to_gstreamer_converted_to_view_sizes_bilinear", Median(ours) / Median(plainBilinear));
  Print("gstreamer_same_decoders_synced_fakesinks_cpu_seconds_median", Median(plain));
  Print("player_program_cpu_seconds_at_2x_median", Median(program));
  Print("player_program_ratio_to_synced_fakesinks", Median(program) / Median(plain));
  Print("ratio", Median(ours) / Median(plain));
  return 0;
}
