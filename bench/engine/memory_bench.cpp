// Resident memory while playing the two-stream recording, beside the same decoders alone; each sample in a
// fresh process of its own (this program started again with --child).
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "BenchCommon.h"

namespace {

using namespace vx;
using namespace vx::bench;

constexpr int kRuns = 10;
constexpr auto kPlay = std::chrono::seconds(3);

double PeakWhilePlayingOurs(const std::string& path) {
  CViewer viewer;
  CPlaybackEngine& engine = viewer.engine;
  engine.Open(path);
  engine.Recording()->Run();
  double peak = 0;
  for (const auto start = Clock::now(); Clock::now() - start < kPlay;) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    peak = std::max(peak, ResidentMegabytes());
  }
  return peak;
}

double PeakWhilePlayingPlain(const std::string& path) {
  GstPtr<GstElement> pipeline = PlainPipeline(path, true);
  gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
  double peak = 0;
  for (const auto start = Clock::now(); Clock::now() - start < kPlay;) {
    WaitForMessage(pipeline.get(), GST_MESSAGE_EOS, std::chrono::milliseconds(20));
    peak = std::max(peak, ResidentMegabytes());
  }
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  return peak;
}

double RunChild(const char* self, const char* which) {
  const std::string command = std::string(self) + " --child " + which + " 2>/dev/null";
  FILE* child = popen(command.c_str(), "r");
  double megabytes = -1;
  if (child && std::fscanf(child, "%lf", &megabytes) != 1) megabytes = -1;
  if (child) pclose(child);
  return megabytes;
}

}  // namespace

int main(int argc, char** argv) {
  const auto app = InitProcess(argc, argv);
  const std::string path = DemoRecording(10);
  if (argc == 3 && std::strcmp(argv[1], "--child") == 0) {
    const bool ours = std::strcmp(argv[2], "ours") == 0;
    std::printf("%.3f\n", ours ? PeakWhilePlayingOurs(path) : PeakWhilePlayingPlain(path));
    return 0;
  }
  std::vector<double> ours;
  std::vector<double> plain;
  for (int i = 0; i < kRuns; ++i) {
    ours.push_back(RunChild(argv[0], "ours"));
    plain.push_back(RunChild(argv[0], "plain"));
  }
  Print("runs", kRuns);
  Print("ours_resident_mb_while_playing_two_streams_median", Median(ours));
  Print("gstreamer_same_decoders_resident_mb_median", Median(plain));
  Print("ratio", Median(ours) / Median(plain));
  return 0;
}
