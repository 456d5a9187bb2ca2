// Evidence export speed and memory: vx880-export re-encoding a 720p span with its overlay beside a plain
// gst-launch-1.0 pipeline doing the same decode + layout + overlay + encode on the same file, in one run;
// the original-quality copy's speed; peak memory of two span lengths.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
constexpr int kRuns = 3;
constexpr int kLongSpanS = 40;
constexpr int kShortSpanS = 10;

struct ProcessRun {
  double seconds = 0.0;
  double peakMegabytes = 0.0;
  bool ok = false;
};

// Runs `command` through the shell, timing it and reading its peak resident memory from the kernel.
ProcessRun Measure(const std::string& command) {
  const auto started = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const std::string quiet = command + " >/dev/null 2>&1";
  char* argv[] = {const_cast<char*>("sh"), const_cast<char*>("-c"), const_cast<char*>(quiet.c_str()), nullptr};
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ) != 0) return {};
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  ProcessRun run;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;  // of the largest child: the exporter
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Print(const std::string& name, double value) { std::printf("%s: %.2f\n", name.c_str(), value); }

// The plain pipeline over the whole file: the same elements and settings as the export's, its text fixed.
std::string PlainPipeline(const std::string& file, const std::string& out) {
  return "gst-launch-1.0 -q filesrc location=" + file + " ! qtdemux name=d "
         "d.video_0 ! queue ! h264parse ! avdec_h264 ! videoconvert ! compositor name=c background=black "
         "sink_1::xpos=838 sink_1::ypos=16 sink_1::width=426 sink_1::height=240 "
         "! videoconvert ! textoverlay text=\"2026-12-06 08:15:03 UTC+09:00\\n42 km/h  NE 45\\n37.57069 N  "
         "126.98223 E\\nX.MP4\" font-desc=\"DejaVu Sans Mono Bold 10\" valignment=bottom halignment=left "
         "xpad=16 ypad=56 draw-outline=true draw-shadow=false "
         "! x264enc speed-preset=superfast bitrate=6000 key-int-max=60 ! h264parse ! mp4mux name=m "
         "! filesink location=" + out + " "
         "d.video_1 ! queue ! h264parse ! avdec_h264 ! videoconvert ! c. "
         "d.audio_0 ! queue ! aacparse ! avdec_aac ! audioconvert ! audioresample ! voaacenc ! m.";
}

}  // namespace

int main() {
  const fs::path dir = fs::path(VX_BENCH_MEDIA_DIR) / "export";
  const fs::path recording = dir / "card/DCIM/100DRIVE/20261206_081500_D01.MP4";
  fs::create_directories(recording.parent_path());
  const std::string bin = VX_BIN_DIR;
  if (!fs::exists(recording) &&
      !Measure(bin + "/vx880-mkcard --file " + recording.string() + " --seconds " + std::to_string(kLongSpanS)).ok) {
    std::fprintf(stderr, "export_bench: the card maker failed\n");
    return 1;
  }
  const std::string exporter = bin + "/vx880-export --out " + (dir / "bench.mp4").string();
  // The long span is the whole recording, as the plain pipeline plays it.
  const auto ours = [&](int spanS, const char* extra) {
    return Measure(exporter + " --from 0 --to " + std::to_string(spanS) + " " + extra + " " + recording.string());
  };
  std::vector<double> oursS, plainS, copyS, shortRss, longRss;
  for (int i = 0; i < kRuns; ++i) {  // alternated, so that a busy moment of the machine hits both
    const ProcessRun encoded = ours(kLongSpanS, "");
    const ProcessRun plain = Measure(PlainPipeline(recording.string(), (dir / "plain.mp4").string()));
    const ProcessRun copied = ours(kLongSpanS, "--copy");
    const ProcessRun shortSpan = ours(kShortSpanS, "");
    if (!encoded.ok || !plain.ok || !copied.ok || !shortSpan.ok) {
      std::fprintf(stderr, "export_bench: a run failed (ours %d, plain %d, copy %d, short %d)\n", encoded.ok, plain.ok,
                   copied.ok, shortSpan.ok);
      return 1;
    }
    oursS.push_back(encoded.seconds), plainS.push_back(plain.seconds), copyS.push_back(copied.seconds);
    longRss.push_back(encoded.peakMegabytes), shortRss.push_back(shortSpan.peakMegabytes);
  }
  std::printf("720p span of %d s, front 1280x720 + rear 640x360 picture-in-picture, sound, median of %d\n",
              kLongSpanS, kRuns);
  Print("export_reencode_realtime_factor", kLongSpanS / Median(oursS));
  Print("plain_gst_launch_realtime_factor", kLongSpanS / Median(plainS));
  Print("export_copy_realtime_factor", kLongSpanS / Median(copyS));
  Print("export_peak_rss_mb_" + std::to_string(kShortSpanS) + "s", Median(shortRss));
  Print("export_peak_rss_mb_" + std::to_string(kLongSpanS) + "s", Median(longRss));
  Print("ratio_export_time_to_plain", Median(oursS) / Median(plainS));
  return 0;
}
