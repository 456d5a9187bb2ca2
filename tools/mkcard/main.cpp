// vx880-mkcard: writes a memory card (or one recording) as the VX-880QN camera would.
#include <gst/gst.h>

#include <QGuiApplication>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "CardPlan.h"
#include "CommandLine.h"
#include "LayoutWriters.h"
#include "RecordingRecipe.h"
#include "core/player/RecordingNames.h"
#include "core/settings/SetupRecord.h"

namespace {

using namespace vx::mkcard;

constexpr std::int16_t kKoreaZoneQuarterHours = 36;

const vx::tools::ToolInfo kTool{
    "vx880-mkcard",
    "usage: vx880-mkcard [--count N] [--seconds S] [--seed N] [--force] [--] DIR\n"
    "       vx880-mkcard --file PATH.MP4|PATH.AVI [--streams 1|2] [--audio aac|pcm|none]\n"
    "                    [--codec h264|mjpeg] [--no-telemetry] [--event] [--parked] [--seconds S]\n"
    "                    [--cut FRACTION] [--gps-loss SECOND] [--layout NAME] [--seed N] [--split] [--force]\n"
    "Writes a memory card as the VX-880QN camera would: drive, event and parking recordings in DIR/DCIM\n"
    "and a setup.cfg with the camera's defaults; or, with --file, one recording.\n"
    "  --count N        drive recordings in MP4 before the event (1 to 999, default 2)\n"
    "  --seconds S      length of each recording (1 to 3600, default 10)\n"
    "  --seed N         seed of the simulated drive (default 1)\n"
    "  --force          write over a folder that holds a card already, or over an existing file\n"
    "  --split          with --file and two streams: the front (with sound and telemetry) to PATH, the rear\n"
    "                   alone to the file paired with it: PATH's stem ends in F, EF, NF or PF and the rear's\n"
    "                   swaps that F for R (X_NF.MP4 -> X_NR.MP4), or PATH is in a folder Front and the\n"
    "                   rear goes to the same name in the sibling folder Rear\n"
    "  --layout NAME    with --file: the drive's telemetry in another camera's layout instead of the VX-880QN\n"
    "                   log: novatek (freeGPS blocks indexed from moov), pittasoft (a free box with gps and 3gf\n"
    "                   parts), both MP4 only, or nmea (an .NMEA log beside the recording); vx880 is the default\n"};

// Each option, and whether a value follows it.
constexpr vx::tools::ToolOption kOptions[] = {
    {"--count", true}, {"--seconds", true}, {"--seed", true},      {"--file", true},   {"--streams", true},
    {"--audio", true}, {"--codec", true},   {"--cut", true},       {"--gps-loss", true}, {"--layout", true},
    {"--event", false}, {"--parked", false}, {"--no-telemetry", false}, {"--force", false}, {"--split", false}};

struct Arguments {
  CardOptions card;
  RecordingRecipe single;
  bool singleFile = false;
  bool force = false;  // write over an existing card or file
  bool split = false;  // the rear picture in a file of its own
  std::optional<AudioKind> audio;   // unless given, the container's own
  std::optional<VideoCodec> codec;
};

bool EndsWithIgnoringCase(const std::string& text, const char* suffix) {
  const std::size_t n = std::strlen(suffix);
  return text.size() >= n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

// The whole of `text` as a number from `low` to `high`.
template <typename Number>
bool ParseNumber(const std::string& text, Number low, Number high, Number& out, std::string& error) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  if (ec == std::errc{} && end == text.data() + text.size() && out >= low && out <= high) return true;
  error = "expected a number from " + std::to_string(low) + " to " + std::to_string(high);
  return false;
}

bool TakeOption(Arguments& a, const std::string& name, const std::string& value, std::string& error) {
  RecordingRecipe& s = a.single;
  if (name == "--count") return ParseNumber(value, 1, 999, a.card.driveCount, error);
  if (name == "--seconds") {
    if (!ParseNumber(value, 1, 3600, a.card.seconds, error)) return false;
    s.drive.seconds = a.card.seconds;
  } else if (name == "--seed") {
    if (!ParseNumber(value, 0u, 0xFFFFFFFFu, a.card.seed, error)) return false;
    s.drive.seed = a.card.seed;
  } else if (name == "--streams") {
    return ParseNumber(value, 1, 2, s.streams, error);
  } else if (name == "--cut") {
    if (!ParseNumber(value, 0.0, 0.999999, s.cutFraction, error)) error = "expected a fraction from 0 to below 1";
  } else if (name == "--gps-loss") {
    if (!ParseNumber(value, 0, 3599, s.drive.signalLossFrom, error)) return false;
    s.drive.signalLossSeconds = 2;
  } else if (name == "--audio") {
    a.audio = value == "pcm" ? AudioKind::Pcm : value == "none" ? AudioKind::None : AudioKind::Aac;
    if (value != "aac" && value != "pcm" && value != "none") error = "expected aac, pcm or none";
  } else if (name == "--codec") {
    a.codec = value == "mjpeg" ? VideoCodec::Mjpeg : VideoCodec::H264;
    if (value != "h264" && value != "mjpeg") error = "expected h264 or mjpeg";
  } else if (name == "--layout") {
    s.layout = FindLayoutWriter(value);
    if (!s.layout && value != "vx880") error = "expected vx880, " + LayoutNames();
  } else if (name == "--file") {
    a.singleFile = true;
    s.path = value;
    s.container = EndsWithIgnoringCase(value, ".avi") ? Container::Avi : Container::Mp4;
  } else if (name == "--event") {
    s.drive.impactMs = 0;  // placed once the length is known
  } else if (name == "--parked") {
    s.drive.parked = true;
  } else if (name == "--no-telemetry") {
    s.telemetry = false;
  } else if (name == "--force") {
    a.force = true;
  } else if (name == "--split") {
    a.split = true;
  }
  return error.empty();
}

// The rear file the viewer pairs with `front`: "X_NF.MP4" gives "X_NR.MP4", "Front/X.MP4" gives
// "Rear/X.MP4". Empty when `front` is not named as the front file of a pair.
std::string RearPathOf(const std::string& front) {
  const vx::RecordingPair pair = vx::PairOf(front, [](const std::string&) { return true; });
  return pair.rowPath == front ? pair.partnerPath : std::string{};
}

// Checks --split against the rest of the line and names the rear file; a message when it cannot be.
std::string TakeSplit(Arguments& a) {
  if (!a.singleFile) return "--split writes one recording: give it --file";
  if (a.single.streams != 2) return "--split needs two streams (--streams 2)";
  a.single.rearPath = RearPathOf(a.single.path);
  if (a.single.rearPath.empty()) {
    return "--split needs a front file name: its stem ends in F, EF, NF or PF (X_NF.MP4), or it is in a "
           "folder Front";
  }
  return {};
}

// Reads the command line; the exit status when the tool ends here.
std::optional<int> ParseArguments(int argc, char** argv, Arguments& a) {
  a.single.drive.start = {2026, 12, 6, 8, 15, 0};
  std::vector<std::string> operands;
  const auto take = [&](const std::string& name, const std::string& value, std::string& error) {
    return TakeOption(a, name, value, error);
  };
  if (const auto status = vx::tools::ParseCommandLine(argc, argv, kTool, kOptions, take, operands)) return status;
  RecordingRecipe& s = a.single;
  if (a.singleFile != operands.empty()) {
    return vx::tools::UsageError(kTool, a.singleFile ? "--file writes one recording and takes no folder"
                                                     : "name one folder for the card, or --file");
  }
  if (operands.size() > 1) return vx::tools::UsageError(kTool, "one card folder at a time");
  if (!a.singleFile) a.card.root = operands.front();
  if (s.layout && !a.singleFile) return vx::tools::UsageError(kTool, "--layout writes one recording: give it --file");
  if (const std::string problem = a.split ? TakeSplit(a) : ""; !problem.empty()) {
    return vx::tools::UsageError(kTool, problem);
  }
  const bool avi = s.container == Container::Avi;
  s.codec = a.codec.value_or(avi ? VideoCodec::Mjpeg : VideoCodec::H264);
  s.audio = a.audio.value_or(avi ? AudioKind::Pcm : AudioKind::Aac);
  if (s.drive.impactMs >= 0) s.drive.impactMs = s.drive.seconds * 500;
  return std::nullopt;
}

bool Exists(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

// A card's settings and recordings, or a recording, are someone's data: they are written over only when
// asked. Answers the exit status when the tool ends here. Other kinds of file at the recording's path
// (a FIFO, a device) are left to the writer, which refuses them.
std::optional<int> RefuseToReplace(const Arguments& a) {
  if (a.force) return std::nullopt;
  std::error_code ec;
  for (const std::string& path : a.singleFile ? OutputPaths(a.single) : std::vector<std::string>{}) {
    if (std::filesystem::is_regular_file(path, ec) || std::filesystem::is_symlink(path, ec)) {
      std::fprintf(stderr, "vx880-mkcard: %s already exists; --force replaces it\n", path.c_str());
      return 1;
    }
  }
  const std::filesystem::path root = a.card.root;
  if (!a.singleFile && (Exists(root / "setup.cfg") || Exists(root / "DCIM"))) {
    std::fprintf(stderr, "vx880-mkcard: %s already holds a card (setup.cfg or DCIM); --force writes over it\n",
                 a.card.root.c_str());
    return 1;
  }
  return std::nullopt;
}

// Makes the folder that is to hold `file`; says so on one line when it cannot.
bool MakeFolderOf(const std::string& file) {
  const std::filesystem::path folder = std::filesystem::path(file).parent_path();
  std::error_code ec;
  if (folder.empty() || std::filesystem::is_directory(folder, ec)) return true;
  std::filesystem::create_directories(folder, ec);
  if (ec) std::fprintf(stderr, "vx880-mkcard: cannot make the folder %s: %s\n", folder.c_str(), ec.message().c_str());
  return !ec;
}

// Writes one recording; says what failed and where on one line when it could not.
bool Write(const RecordingRecipe& recipe) {
  const auto started = std::chrono::steady_clock::now();
  for (const std::string& path : OutputPaths(recipe)) {
    if (!MakeFolderOf(path)) return false;
  }
  std::string error;
  if (!WriteRecording(recipe, error)) {
    std::fprintf(stderr, "vx880-mkcard: %s: %s\n", recipe.path.c_str(), error.c_str());
    return false;
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
  for (const std::string& path : OutputPaths(recipe)) std::printf("wrote %s (%.1f s)\n", path.c_str(), took.count());
  std::fflush(stdout);
  return true;
}

// setup.cfg is written last, so a card that has one is complete. Its video mode is the one the
// recordings have: HD, for their 1280x720 front picture.
int MakeCard(const CardOptions& options) {
  for (const RecordingRecipe& recipe : PlanCard(options)) {
    if (!Write(recipe)) return 1;
  }
  const vx::FileWriteResult written =
      vx::WriteSetupRecord(options.root, vx::MakeDefaultRecord(kKoreaZoneQuarterHours, kFrontSize.height >= 720));
  if (!written) {
    std::fprintf(stderr, "vx880-mkcard: %s/setup.cfg: %s\n", options.root.c_str(), written.Describe().c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (const auto status = ParseArguments(argc, argv, args)) return *status;
  if (const auto status = RefuseToReplace(args)) return *status;
  // Pictures are painted off screen: no display is needed.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  gst_init(nullptr, nullptr);
  const int status = args.singleFile ? (Write(args.single) ? 0 : 1) : MakeCard(args.card);
  // Waits for GStreamer's streaming threads to end before exit, so none is still winding down while the
  // process ends (the leak checker stops every thread at exit and cannot trace one that is going away).
  gst_task_cleanup_all();
  return vx::tools::OutputWritten(kTool) ? status : 1;
}
