// Time from Open to the first front picture in the view, beside playbin's time to its first video buffer.
#include <gst/app/gstappsink.h>

#include <QCoreApplication>
#include <memory>

#include "BenchCommon.h"

namespace {

using namespace vx;
using namespace vx::bench;

constexpr int kRuns = 15;

double OursOnce(const std::string& path) {
  CViewer viewer;
  CPlaybackEngine& engine = viewer.engine;
  const auto start = Clock::now();
  if (engine.Open(path) != 1) return -1;
  while (viewer.front.Frame().IsNull() && Clock::now() - start < std::chrono::seconds(5))
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  return Milliseconds(Clock::now() - start);
}

double PlaybinOnce(const std::string& path) {
  GstPtr<GstElement> playbin = Retain(gst_element_factory_make("playbin", nullptr));
  GstElement* sink = gst_element_factory_make("appsink", nullptr);
  GstPtr<gchar> uri = Adopt(gst_filename_to_uri(path.c_str(), nullptr));
  g_object_set(playbin.get(), "uri", uri.get(), "video-sink", sink, nullptr);
  const auto start = Clock::now();
  gst_element_set_state(playbin.get(), GST_STATE_PAUSED);
  GstPtr<GstSample> first = Adopt(gst_app_sink_try_pull_preroll(GST_APP_SINK(sink), 5 * GST_SECOND));
  const double ms = Milliseconds(Clock::now() - start);
  gst_element_set_state(playbin.get(), GST_STATE_NULL);
  return first ? ms : -1;
}

}  // namespace

int main(int argc, char** argv) {
  const auto app = InitProcess(argc, argv);
  const std::string path = DemoRecording(10);
  OursOnce(path);  // warm the registry and the file cache for both
  PlaybinOnce(path);
  std::vector<double> ours;
  std::vector<double> playbin;
  for (int i = 0; i < kRuns; ++i) {
    ours.push_back(OursOnce(path));
    playbin.push_back(PlaybinOnce(path));
  }
  Print("runs", kRuns);
  Print("ours_open_to_first_front_frame_ms_median", Median(ours));
  Print("playbin_to_first_video_buffer_ms_median", Median(playbin));
  Print("ratio", Median(ours) / Median(playbin));
  return 0;
}
