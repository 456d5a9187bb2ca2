// Reads and parses the telemetry of a one-hour drive (36 000 G-sensor samples, 3 600 fixes) stored in a
// card-maker MP4, beside plain GStreamer reading the same file's container headers (qtdemux to its pads).
#include <gst/gst.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <vector>

#include "DriveSimulator.h"
#include "ToolRunner.h"
#include "core/telemetry/FileTelemetrySource.h"
#include "core/telemetry/layouts/Vx880Telemetry.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 21;

double MedianMs(const std::function<void()>& run) {
  std::vector<double> times;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = Clock::now();
    run();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
  return times[kRuns / 2];
}

// A ten-second recording of the card maker with an hour of telemetry appended as its log.
std::string MakeRecording(const vx::test::TempDir& dir) {
  const std::string path = dir / "hour.MP4";
  vx::test::RunTool(vx::test::Tool("vx880-mkcard") + " --file " + path + " --seconds 10 --no-telemetry >/dev/null");
  vx::mkcard::DriveScript script;
  script.start = {2026, 12, 6, 8, 0, 0};
  script.seconds = 3600;
  const auto box = vx::WrapMp4Box(vx::EncodeTelemetryPayload(vx::mkcard::SimulateDrive(script).records));
  std::ofstream(path, std::ios::binary | std::ios::app).write(reinterpret_cast<const char*>(box.data()),
                                                              static_cast<std::streamsize>(box.size()));
  return path;
}

std::size_t ReadAndParse(const std::string& path) {
  vx::FileTelemetrySource source;
  source.Load(path);
  const vx::TelemetryTrack track = vx::Vx880TrackOf(source);
  return track.accel.size() + track.gps.size();
}

// Plain GStreamer: open the file and parse its container until the demuxer has announced every stream.
void GstOpenContainer(const std::string& path) {
  const std::string description = "filesrc location=\"" + path + "\" ! qtdemux name=d";
  GstElement* pipeline = gst_parse_launch(description.c_str(), nullptr);
  GstElement* demux = gst_bin_get_by_name(GST_BIN(pipeline), "d");
  bool done = false;
  g_signal_connect(demux, "no-more-pads", G_CALLBACK(+[](GstElement*, bool* flag) { *flag = true; }), &done);
  gst_element_set_state(pipeline, GST_STATE_PAUSED);
  while (!done) g_usleep(100);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(demux);
  gst_object_unref(pipeline);
}

}  // namespace

int main() {
  gst_init(nullptr, nullptr);
  const vx::test::TempDir dir("telemetry-bench");
  const std::string path = MakeRecording(dir);
  const std::size_t records = ReadAndParse(path);
  const double oursMs = MedianMs([&] { ReadAndParse(path); });
  const double gstMs = MedianMs([&] { GstOpenContainer(path); });
  std::printf("telemetry_records: %zu\n", records);
  std::printf("telemetry_read_parse_ms: %.3f\n", oursMs);
  std::printf("telemetry_records_per_s: %.0f\n", static_cast<double>(records) / (oursMs / 1000.0));
  std::printf("gst_qtdemux_open_same_file_ms: %.3f\n", gstMs);
  std::printf("telemetry_vs_gst_open_ratio: %.3f\n", oursMs / gstMs);
  return records == 39600 ? 0 : 1;
}
