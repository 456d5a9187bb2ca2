// A fresh viewer process from its start to the first front picture shown in its window, beside the
// smallest playbin program that exits at its first video frame of the same file.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "TestMedia.h"

namespace {

constexpr int kRuns = 9;

double SecondsToRun(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  const std::string path = vx::test::CardFile("bench-two-10s.MP4", "--streams 2 --seconds 10");
  const std::string quiet = " > /dev/null 2>&1";
  // The viewer writes its window once the first front picture is shown (--after 0) and ends.
  const std::string ours = "QT_QPA_PLATFORM=offscreen " VX_BIN_DIR "/vx880-player --screenshot " +
                           vx::test::MediaDir() + "/startup-bench.png " + path + quiet;
  const std::string playbin = VX_BIN_DIR "/playbin_first_frame " + path + quiet;
  SecondsToRun(ours);  // warm caches for both
  SecondsToRun(playbin);
  std::vector<double> oursMs;
  std::vector<double> playbinMs;
  for (int i = 0; i < kRuns; ++i) {
    oursMs.push_back(SecondsToRun(ours));
    playbinMs.push_back(SecondsToRun(playbin));
  }
  std::printf("runs: %d\n", kRuns);
  std::printf("ours_start_to_first_front_picture_in_window_ms_median: %.1f\n", Median(oursMs));
  std::printf("playbin_start_to_first_video_frame_ms_median: %.1f\n", Median(playbinMs));
  std::printf("ratio: %.3f\n", Median(oursMs) / Median(playbinMs));
  return 0;
}
