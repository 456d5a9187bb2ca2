// Key-unit and accurate seek latency on paused 1280x720 recordings (MP4 and AVI), beside the same
// decoders alone. Both sides seek once per call and wait until the seek has finished.
#include <random>

#include "BenchCommon.h"

namespace {

using namespace vx;
using namespace vx::bench;

constexpr int kSeeks = 30;
constexpr int kSeconds = 20;

std::vector<RefTime> Targets() {
  std::mt19937 random(880);
  std::uniform_int_distribution<RefTime> pick(5'000'000, (kSeconds - 1) * 10'000'000LL);
  std::vector<RefTime> targets;
  for (int i = 0; i < kSeeks; ++i) targets.push_back(pick(random));
  return targets;
}

std::vector<double> Ours(const std::string& path, SeekMode mode) {
  CViewer viewer;
  CPlaybackEngine& engine = viewer.engine;
  engine.Open(path);
  engine.Recording()->Pause();
  std::vector<double> ms;
  for (RefTime target : Targets()) {
    const auto start = Clock::now();
    engine.Recording()->SetPosition(target, mode);
    ms.push_back(Milliseconds(Clock::now() - start));
  }
  return ms;
}

std::vector<double> Plain(const std::string& path, SeekMode mode) {
  GstPtr<GstElement> pipeline = PlainPipeline(path, true);
  gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
  WaitForMessage(pipeline.get(), GST_MESSAGE_ASYNC_DONE, std::chrono::seconds(5));
  const auto flags = GstSeekFlags(GST_SEEK_FLAG_FLUSH |
                                  (mode == SeekMode::Accurate ? GST_SEEK_FLAG_ACCURATE : GST_SEEK_FLAG_KEY_UNIT));
  // One seek event into the front sink: through the pipeline avidemux would get one per sink.
  GstPtr<GstElement> front = Adopt(gst_bin_get_by_name(GST_BIN(pipeline.get()), "front"));
  std::vector<double> ms;
  for (RefTime target : Targets()) {
    const auto start = Clock::now();
    gst_element_send_event(front.get(), gst_event_new_seek(1.0, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET,
                                                           RefTimeToNs(target), GST_SEEK_TYPE_NONE,
                                                           GST_CLOCK_TIME_NONE));
    WaitForMessage(pipeline.get(), GST_MESSAGE_ASYNC_DONE, std::chrono::seconds(5));
    ms.push_back(Milliseconds(Clock::now() - start));
  }
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  return ms;
}

void PrintLatency(const std::string& name, const std::vector<double>& ms) {
  Print(name + "_p50_ms", Percentile(ms, 0.5));
  Print(name + "_p95_ms", Percentile(ms, 0.95));
}

}  // namespace

int main(int argc, char** argv) {
  const auto app = InitProcess(argc, argv);
  Print("seeks_each", kSeeks);
  for (const char* container : {"MP4", "AVI"}) {
    const std::string path = DemoRecording(kSeconds, container);
    const std::string name = container == std::string("MP4") ? "mp4_" : "avi_";
    const auto oursAccurate = Ours(path, SeekMode::Accurate);
    const auto plainAccurate = Plain(path, SeekMode::Accurate);
    PrintLatency(name + "ours_keyunit", Ours(path, SeekMode::KeyUnit));
    PrintLatency(name + "gstreamer_keyunit", Plain(path, SeekMode::KeyUnit));
    PrintLatency(name + "ours_accurate", oursAccurate);
    PrintLatency(name + "gstreamer_accurate", plainAccurate);
    Print(name + "ratio_accurate_p95", Percentile(oursAccurate, 0.95) / Percentile(plainAccurate, 0.95));
  }
  return 0;
}
