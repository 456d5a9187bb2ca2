// A fresh viewer process from its start to its first front picture on screen, beside the smallest playbin
// program to its first frame shown, alternating. On an X display both show in windows (ours on xcb, playbin
// into ximagesink); without one, ours runs offscreen and playbin prerolls into fakesink. Both print the moment
// on CLOCK_MONOTONIC; the time each takes to end afterwards is not counted.
// Usage: startup_bench [PLAYER] (default: this build's vx880-player).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "TestMedia.h"

namespace {

constexpr int kRuns = 11;

double NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) * 1000 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Runs `command` and returns the ms from its start to the moment it prints (" at N ms"); -1 when it prints none.
double MsToPrintedMoment(const std::string& command) {
  const double start = NowMs();
  FILE* output = popen(command.c_str(), "r");
  if (!output) return -1;
  char line[256] = {};
  double moment = -1;
  while (std::fgets(line, sizeof line, output)) {
    const char* at = std::strstr(line, " at ");
    if (at && moment < 0) moment = std::atof(at + 4);
  }
  if (pclose(output) != 0 || moment < 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  return moment < 0 ? -1 : moment - start;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const std::string player = argc > 1 ? argv[1] : VX_BIN_DIR "/vx880-player";
  const std::string path = vx::test::CardFile("bench-two-10s.MP4", "--streams 2 --seconds 10");
  const bool onX = std::getenv("DISPLAY") != nullptr;
  const std::string quiet = " 2>/dev/null";
  const std::string ours = std::string("QT_QPA_PLATFORM=") + (onX ? "xcb " : "offscreen ") + player +
                           " --time-first-picture " + path + quiet;
  const std::string playbin = VX_BIN_DIR "/playbin_first_frame " + path + (onX ? " ximagesink" : " fakesink") + quiet;
  MsToPrintedMoment(ours);  // warm caches for both
  MsToPrintedMoment(playbin);
  std::vector<double> oursMs;
  std::vector<double> playbinMs;
  for (int i = 0; i < kRuns; ++i) {
    oursMs.push_back(MsToPrintedMoment(ours));
    playbinMs.push_back(MsToPrintedMoment(playbin));
  }
  std::printf("runs: %d, %s\n", kRuns, onX ? "on X: ours on xcb, playbin into ximagesink" : "offscreen, playbin into fakesink");
  std::printf("ours_start_to_first_front_picture_on_screen_ms_median: %.1f\n", Median(oursMs));
  std::printf("playbin_start_to_first_frame_shown_ms_median: %.1f\n", Median(playbinMs));
  std::printf("ratio: %.3f\n", Median(oursMs) / Median(playbinMs));
  return 0;
}
