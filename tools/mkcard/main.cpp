// vx880-mkcard: writes a memory card (or one recording) as the VX-880QN camera would.
#include <gst/gst.h>

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "CardPlan.h"
#include "RecordingRecipe.h"
#include "core/settings/SetupRecord.h"

namespace {

using namespace vx::mkcard;

constexpr std::int16_t kKoreaZoneQuarterHours = 36;

const char* kUsage =
    "usage: vx880-mkcard DIR [--count N] [--seconds S] [--seed N]\n"
    "       vx880-mkcard --file PATH.MP4|PATH.AVI [--streams 1|2] [--audio aac|pcm|none]\n"
    "                    [--codec h264|mjpeg] [--no-telemetry] [--event] [--parked] [--seconds S]\n"
    "                    [--cut FRACTION] [--gps-loss SECOND] [--seed N]\n"
    "The card holds drive, event and parking recordings in DCIM and a setup.cfg with the camera's defaults.\n";

struct Arguments {
  CardOptions card;
  RecordingRecipe single;
  bool singleFile = false;
};

bool EndsWithIgnoringCase(const std::string& text, const char* suffix) {
  const std::size_t n = std::strlen(suffix);
  return text.size() >= n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

bool ParseOption(Arguments& a, const std::string& name, const char* value) {
  RecordingRecipe& s = a.single;
  if (name == "--count") a.card.driveCount = std::atoi(value);
  else if (name == "--seconds") s.drive.seconds = a.card.seconds = std::atoi(value);
  else if (name == "--seed") s.drive.seed = a.card.seed = static_cast<std::uint32_t>(std::atoi(value));
  else if (name == "--streams") s.streams = std::atoi(value);
  else if (name == "--cut") s.cutFraction = std::strtod(value, nullptr);
  else if (name == "--gps-loss") {
    s.drive.signalLossFrom = std::atoi(value);
    s.drive.signalLossSeconds = 2;
  }
  else if (name == "--audio") s.audio = !std::strcmp(value, "pcm") ? AudioKind::Pcm : !std::strcmp(value, "none") ? AudioKind::None : AudioKind::Aac;
  else if (name == "--codec") s.codec = !std::strcmp(value, "mjpeg") ? VideoCodec::Mjpeg : VideoCodec::H264;
  else if (name == "--file") {
    a.singleFile = true;
    s.path = value;
    s.container = EndsWithIgnoringCase(s.path, ".avi") ? Container::Avi : Container::Mp4;
    s.codec = s.container == Container::Avi ? VideoCodec::Mjpeg : VideoCodec::H264;
    s.audio = s.container == Container::Avi ? AudioKind::Pcm : AudioKind::Aac;
  } else return false;
  return true;
}

bool ParseArguments(int argc, char** argv, Arguments& a) {
  a.single.drive.start = {2026, 12, 6, 8, 15, 0};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--no-telemetry") a.single.telemetry = false;
    else if (arg == "--event") a.single.drive.impactMs = a.single.drive.seconds * 500;
    else if (arg == "--parked") a.single.drive.parked = true;
    else if (arg.rfind("--", 0) == 0) {
      if (i + 1 >= argc || !ParseOption(a, arg, argv[++i])) return false;
    } else a.card.root = arg;
  }
  if (a.single.drive.impactMs >= 0) a.single.drive.impactMs = a.single.drive.seconds * 500;
  const bool sane = a.card.seconds >= 1 && a.card.seconds <= 3600 && a.card.driveCount >= 1 &&
                    a.single.streams >= 1 && a.single.streams <= 2 && a.single.cutFraction >= 0 && a.single.cutFraction < 1;
  return sane && (a.singleFile || !a.card.root.empty());
}

bool Write(const RecordingRecipe& recipe) {
  const auto started = std::chrono::steady_clock::now();
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(recipe.path).parent_path(), ec);
  std::string error;
  if (!WriteRecording(recipe, error)) {
    std::fprintf(stderr, "vx880-mkcard: %s: %s\n", recipe.path.c_str(), error.c_str());
    return false;
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
  std::printf("wrote %s (%.1f s)\n", recipe.path.c_str(), took.count());
  std::fflush(stdout);
  return true;
}

// setup.cfg is written last, so a card that has one is complete.
int MakeCard(const CardOptions& options) {
  for (const RecordingRecipe& recipe : PlanCard(options)) {
    if (!Write(recipe)) return 1;
  }
  if (!vx::WriteSetupRecord(options.root, vx::MakeDefaultRecord(kKoreaZoneQuarterHours))) {
    std::fprintf(stderr, "vx880-mkcard: cannot write %s/setup.cfg\n", options.root.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (!ParseArguments(argc, argv, args)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  // Pictures are painted off screen: no display is needed.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  gst_init(nullptr, nullptr);
  return args.singleFile ? (Write(args.single) ? 0 : 1) : MakeCard(args.card);
}
