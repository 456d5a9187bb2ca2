// One timeline tick of the main window with an hour of telemetry loaded and the map shown (the tick hands
// the position to the map page), beside GStreamer's own position query on the same file.
#include <fstream>

#include "BenchCommon.h"
#include "CFakeDriveList.h"
#include "TestMedia.h"
#include "core/player/ControlIds.h"
#include "core/telemetry/TelemetryLog.h"
#include "player/CQuelmarDlg.h"
#include "player/CRecordingCatalogue.h"
#include "views/WebEngineSetup.h"

namespace {

using namespace vx;
using namespace vx::bench;

constexpr int kTicks = 2000;
constexpr std::uint32_t kHourMs = 3'600'000;

// An hour of records as the camera writes them: G-sensor samples at 10 Hz, a GPS fix every second.
std::vector<TelemetryRecord> HourOfTelemetry() {
  std::vector<TelemetryRecord> records;
  for (std::uint32_t ms = 0; ms < kHourMs; ms += 100) {
    records.push_back({ms, {'M', 10, 20, 30}});
    if (ms % 1000 != 0) continue;
    const std::string fix = "GGPRMC,081500,A,3733.0000,N,12658.0000,E,22.7,90.0,061226,,,A";
    TelemetryRecord gps{ms, std::vector<std::uint8_t>(fix.begin(), fix.end())};
    gps.bytes.push_back(0);
    records.push_back(std::move(gps));
  }
  return records;
}

// A short two-stream recording carrying an hour-long telemetry log.
std::string RecordingWithHourOfTelemetry() {
  const std::string path = test::MediaDir() + "/bench-hour-telemetry.MP4";
  std::ifstream video(test::CardFile("bench-no-telemetry.MP4", "--streams 2 --seconds 4 --no-telemetry"),
                      std::ios::binary);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << video.rdbuf();
  const std::vector<std::uint8_t> box = WrapMp4Box(EncodeTelemetryPayload(HourOfTelemetry()));
  out.write(reinterpret_cast<const char*>(box.data()), static_cast<std::streamsize>(box.size()));
  return path;
}

std::vector<double> PlainPositionQueries(const std::string& path) {
  GstPtr<GstElement> pipeline = PlainPipeline(path, true);
  gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
  WaitForMessage(pipeline.get(), GST_MESSAGE_ASYNC_DONE, std::chrono::seconds(5));
  std::vector<double> ms;
  for (int i = 0; i < kTicks; ++i) {
    const auto start = Clock::now();
    gint64 position = 0;
    gst_element_query_position(pipeline.get(), GST_FORMAT_TIME, &position);
    ms.push_back(Milliseconds(Clock::now() - start));
  }
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  PrepareWebEngine();
  const auto app = InitProcess(argc, argv);
  const std::string path = RecordingWithHourOfTelemetry();
  test::CFakeDriveList drives;
  CQuelmarDlg window(drives, {VX_BIN_DIR "/Setting.ini", [](int) { return std::optional<std::filesystem::path>(); }});
  window.OnInitDialog([](const QString&) {});
  window.show();
  window.Catalogue().AddPaths({QString::fromStdString(path)});
  window.PlayPause();
  window.PlayPause();  // paused in the middle: each tick still reads and hands on the position
  window.Engine().SeekMs(2000);
  window.OnCommand(IDC_MAP);
  std::vector<double> ticks;
  for (int i = 0; i < kTicks; ++i) {
    const auto start = Clock::now();
    window.UpdateTimeline();
    ticks.push_back(Milliseconds(Clock::now() - start));
  }
  Print("telemetry_gsensor_samples", static_cast<double>(window.Telemetry().accel.size()));
  Print("telemetry_gps_fixes", static_cast<double>(window.Telemetry().gps.size()));
  Print("ticks", kTicks);
  Print("ours_tick_p50_ms", Percentile(ticks, 0.5));
  Print("ours_tick_p95_ms", Percentile(ticks, 0.95));
  const std::vector<double> plain = PlainPositionQueries(path);
  Print("gstreamer_position_query_p50_ms", Percentile(plain, 0.5));
  Print("ratio_p50", Percentile(ticks, 0.5) / Percentile(plain, 0.5));
  return 0;
}
