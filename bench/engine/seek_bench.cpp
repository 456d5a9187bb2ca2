// Key-unit and accurate seek latency on a paused 1280x720 recording, beside the same decoders alone.
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
  std::vector<double> ms;
  for (RefTime target : Targets()) {
    const auto start = Clock::now();
    gst_element_seek_simple(pipeline.get(), GST_FORMAT_TIME, flags, RefTimeToNs(target));
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
  const std::string path = DemoRecording(kSeconds);
  Print("seeks_each", kSeeks);
  const auto oursAccurate = Ours(path, SeekMode::Accurate);
  const auto plainAccurate = Plain(path, SeekMode::Accurate);
  PrintLatency("ours_keyunit", Ours(path, SeekMode::KeyUnit));
  PrintLatency("gstreamer_keyunit", Plain(path, SeekMode::KeyUnit));
  PrintLatency("ours_accurate", oursAccurate);
  PrintLatency("gstreamer_accurate", plainAccurate);
  Print("ratio", Percentile(oursAccurate, 0.95) / Percentile(plainAccurate, 0.95));
  return 0;
}
