// Key-unit and accurate seek latency on paused 1280x720 recordings (MP4 and AVI), beside the same
// decoders alone: p50, p95 and p99 of 200 seeks each. Both sides seek once per call and wait until the seek
// has finished. The plain pipeline decodes into sinks and shows nothing, and so do we with our views hidden
// (they keep each picture without scaling it); the "_shown" rows repeat each kind with our views shown, where
// every seek also scales its picture for the view inside the sink's preroll.
#include <random>

#include "BenchCommon.h"

namespace {

using namespace vx;
using namespace vx::bench;

constexpr int kSeeks = 200;
constexpr int kSeconds = 20;

std::vector<RefTime> Targets() {
  std::mt19937 random(880);
  std::uniform_int_distribution<RefTime> pick(5'000'000, (kSeconds - 1) * 10'000'000LL);
  std::vector<RefTime> targets;
  for (int i = 0; i < kSeeks; ++i) targets.push_back(pick(random));
  return targets;
}

struct SeekTimes {
  std::vector<double> ours;
  std::vector<double> plain;
};

// Our engine and the plain pipeline, both paused on the same file, seek to the same targets in turn, the side
// that goes first changing every time: load from elsewhere on the machine falls on both alike.
SeekTimes Interleaved(const std::string& path, SeekMode mode, bool shown) {
  CViewer viewer(shown);
  CPlaybackEngine& engine = viewer.engine;
  engine.Open(path);
  engine.Recording()->Pause();
  GstPtr<GstElement> pipeline = PlainPipeline(path, true);
  gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
  WaitForMessage(pipeline.get(), GST_MESSAGE_ASYNC_DONE, std::chrono::seconds(5));
  const auto flags = GstSeekFlags(GST_SEEK_FLAG_FLUSH |
                                  (mode == SeekMode::Accurate ? GST_SEEK_FLAG_ACCURATE : GST_SEEK_FLAG_KEY_UNIT));
  // One seek event into the front sink: through the pipeline avidemux would get one per sink.
  GstPtr<GstElement> front = Adopt(gst_bin_get_by_name(GST_BIN(pipeline.get()), "front"));
  const auto ours = [&](RefTime target) { engine.Recording()->SetPosition(target, mode); };
  const auto plain = [&](RefTime target) {
    gst_element_send_event(front.get(), gst_event_new_seek(1.0, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET,
                                                           RefTimeToNs(target), GST_SEEK_TYPE_NONE,
                                                           GST_CLOCK_TIME_NONE));
    WaitForMessage(pipeline.get(), GST_MESSAGE_ASYNC_DONE, std::chrono::seconds(5));
  };
  const auto timed = [](const auto& seek, RefTime target, std::vector<double>& ms) {
    const auto start = Clock::now();
    seek(target);
    ms.push_back(Milliseconds(Clock::now() - start));
  };
  SeekTimes times;
  const std::vector<RefTime> targets = Targets();
  for (std::size_t i = 0; i < targets.size(); ++i) {
    if (i % 2 == 0) timed(ours, targets[i], times.ours);
    timed(plain, targets[i], times.plain);
    if (i % 2 == 1) timed(ours, targets[i], times.ours);
  }
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  return times;
}

// Our p50, p95 and p99 beside plain GStreamer's, each with its ratio.
void PrintBeside(const std::string& name, const std::vector<double>& ours, const std::vector<double>& plain) {
  for (const auto& [label, fraction] : {std::pair{"p50", 0.5}, {"p95", 0.95}, {"p99", 0.99}}) {
    const double a = Percentile(ours, fraction);
    const double b = Percentile(plain, fraction);
    std::printf("%s_%s_ms: ours %.2f gstreamer %.2f ratio %.2f\n", name.c_str(), label, a, b, a / b);
    std::fflush(stdout);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const auto app = InitProcess(argc, argv);
  Print("seeks_each", kSeeks);
  for (const char* container : {"MP4", "AVI"}) {
    const std::string path = DemoRecording(kSeconds, container);
    const std::string name = container == std::string("MP4") ? "mp4_" : "avi_";
    for (const auto& [kind, mode] : {std::pair{"keyunit", SeekMode::KeyUnit}, {"accurate", SeekMode::Accurate}}) {
      for (const bool shown : {false, true}) {
        const SeekTimes times = Interleaved(path, mode, shown);
        PrintBeside(name + kind + (shown ? "_shown" : ""), times.ours, times.plain);
      }
    }
  }
  return 0;
}
