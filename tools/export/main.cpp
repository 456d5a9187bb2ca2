// vx880-export: writes a span of a card's recordings as one video with the facts on the picture, or copies
// the original streams, with a manifest of SHA-256 sums; --verify checks such a manifest again.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CommandLine.h"
#include "core/cardindex/CardRecordings.h"
#include "core/cardindex/RecordingSummaries.h"
#include "core/export/ManifestCheck.h"
#include "core/telemetry/RecordingStart.h"
#include "core/export/SpanMarks.h"
#include "export/CardExport.h"

namespace {

using namespace vx;
namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: vx880-export [--from TIME --to TIME | --event N] [--rear pip|side|none] [--no-sound] [--copy]\n"
    "                    --out FILE.mp4 [--] CARD|FILE...\n"
    "       vx880-export --verify MANIFEST [--card DIR]\n"
    "Writes a span of the recordings as one MP4 (H.264, AAC) with the date, time and zone, speed, place,\n"
    "heading and file name on every frame, the rear picture inside the front one (pip), beside it (side) or\n"
    "left out; --copy writes each camera's stream unchanged to FILE_front.EXT and FILE_rear.EXT instead, from\n"
    "the key frame before the span. Beside it go FILE.gpx (the span's fixes) and FILE.manifest.txt (the\n"
    "originals with their sizes, times and SHA-256, and the SHA-256 of what was written).\n"
    "TIME is ISO 8601 (2026-12-06T08:15:03, in the card's zone when it states no offset, UTC where the card\n"
    "names none) or seconds from the start of the first recording; N is a row of vx880-telemetry --events\n"
    "(from 1), exported from 10 s before to 10 s after. A span may cross the recordings of one trip.\n"
    "--verify computes every SHA-256 the manifest names again (originals below --card, else the card named\n"
    "in it) and says which files match; it exits 1 when any does not.\n";

struct Options {
  std::string from, to, verify, card, out;
  std::optional<std::size_t> event;
  RearLayout rear = RearLayout::PictureInPicture;
  bool sound = true;
  bool copy = false;
};

int Verify(const tools::ToolInfo& tool, const Options& options) {
  std::ifstream in(options.verify, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  std::string error;
  const std::optional<ExportManifest> manifest = in ? ReadManifest(text, error) : std::nullopt;
  if (!manifest) {
    std::fprintf(stderr, "%s: %s: %s\n", tool.name, options.verify.c_str(), in ? error.c_str() : "cannot be read");
    return 1;
  }
  const std::string folder = fs::path(options.verify).parent_path().string();
  bool all = true;
  for (const ManifestCheck& check : CheckManifest(*manifest, folder, options.card.empty() ? manifest->card : options.card)) {
    std::printf("%-8s %s\n", CheckStateText(check.state), check.path.c_str());
    all = all && check.state == ManifestCheck::State::Matches;
  }
  std::puts(all ? "every file matches the manifest" : "some files do not match the manifest");
  return tools::OutputWritten(tool) && all ? 0 : 1;
}

// The summaries of the operands (a card's folder, or recordings), in time order, and the card's root.
std::vector<RecordingSummary> Recordings(const std::vector<std::string>& operands, std::string& cardRoot,
                                         std::vector<RecordingSummary>& inListOrder) {
  std::vector<std::string> paths;
  for (const std::string& operand : operands) {
    const std::vector<std::string> below = fs::is_directory(operand) ? RecordingsBelow(operand) : std::vector{operand};
    paths.insert(paths.end(), below.begin(), below.end());
  }
  cardRoot = fs::is_directory(operands.front()) ? operands.front() : fs::path(operands.front()).parent_path().string();
  if (cardRoot.empty()) cardRoot = ".";
  for (const std::string& path : paths) inListOrder.push_back(SummarizeRecording(path));
  std::vector<RecordingSummary> sorted = inListOrder;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const RecordingSummary& a, const RecordingSummary& b) { return a.startUtcMs < b.startUtcMs; });
  return sorted;
}

// The plan of --event N: N counts the events as vx880-telemetry --events lists them.
std::optional<ExportRequest> EventRequest(const std::vector<RecordingSummary>& sorted,
                                          const std::vector<RecordingSummary>& listed, std::size_t n, std::string& error) {
  std::size_t row = 0;
  for (const RecordingSummary& r : listed) {
    for (const DetectedEvent& e : r.events) {
      if (++row != n) continue;
      return EventExportRequest(ChainOf(sorted, r.path), r.startUtcMs + e.mediaMs);
    }
  }
  error = "there is no event " + std::to_string(n) + " (the recordings have " + std::to_string(row) + ")";
  return std::nullopt;
}

std::optional<ExportRequest> SpanRequest(const std::vector<RecordingSummary>& sorted, const Options& options,
                                         std::optional<int> zone, std::string& error) {
  const auto from = ParseSpanTime(options.from, zone, sorted.front().startUtcMs);
  const auto to = ParseSpanTime(options.to, zone, sorted.front().startUtcMs);
  if (!from || !to) {
    error = "--from and --to take ISO 8601 times or seconds";
    return std::nullopt;
  }
  const auto holder = std::find_if(sorted.begin(), sorted.end(), [&](const RecordingSummary& r) {
    return *from >= r.startUtcMs && *from < r.startUtcMs + r.durationMs;
  });
  return SpanExportRequest(holder == sorted.end() ? std::vector{sorted.front()} : ChainOf(sorted, holder->path),
                           {*from, *to});
}

// "\rexporting  45%  9.0 of 20.0 s, 6 s left" on a terminal, rewritten in place.
ExportProgress TerminalProgress() {
  if (!::isatty(STDERR_FILENO)) return {};
  const auto started = std::chrono::steady_clock::now();
  return [started](std::int64_t doneMs, std::int64_t totalMs) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    const std::string left = TimeLeftText(ExportTimeLeftMs(doneMs, totalMs, elapsed.count()));
    std::fprintf(stderr, "\rexporting %3d%%  %.1f of %.1f s, %s ", static_cast<int>(doneMs * 100 / std::max<std::int64_t>(totalMs, 1)),
                 static_cast<double>(doneMs) / 1000.0, static_cast<double>(totalMs) / 1000.0, left.c_str());
  };
}

int Export(const tools::ToolInfo& tool, const Options& options, const std::vector<std::string>& operands) {
  std::string cardRoot, error;
  std::vector<RecordingSummary> listed;
  const std::vector<RecordingSummary> sorted = Recordings(operands, cardRoot, listed);
  if (sorted.empty()) {
    std::fprintf(stderr, "%s: no recordings in %s\n", tool.name, operands.front().c_str());
    return 1;
  }
  const std::optional<int> zone = CardSetupZoneMinutes(sorted.front().path);
  std::optional<ExportRequest> request = options.event ? EventRequest(sorted, listed, *options.event, error)
                                                       : SpanRequest(sorted, options, zone, error);
  if (request && !request->plan.problem.empty()) error = request->plan.problem;
  if (!error.empty()) {
    std::fprintf(stderr, "%s: %s\n", tool.name, error.c_str());
    return 1;
  }
  request->cardRoot = cardRoot;
  request->outPath = options.out;
  request->rear = options.rear;
  request->sound = options.sound;
  request->copy = options.copy;
  TakeCardFacts(*request, SpeedUnitChoice::Card, EnvironmentLocale(), std::string("vx880-export ") + VX_VERSION);
  const ExportProgress progress = TerminalProgress();
  const ExportReport report = ExportEvidence(*request, progress, nullptr);
  if (progress) std::fputc('\n', stderr);
  if (!report.ok) {
    std::fprintf(stderr, "%s: %s\n", tool.name, report.error.c_str());
    return 1;
  }
  for (const std::string& note : report.notes) std::printf("note: %s\n", note.c_str());
  for (const std::string& path : report.written) std::printf("wrote %s\n", path.c_str());
  return tools::OutputWritten(tool) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  gst_init(&argc, &argv);
  const tools::ToolInfo tool{"vx880-export", kUsage};
  constexpr tools::ToolOption kOptions[] = {{"--from", true},      {"--to", true},    {"--event", true},
                                            {"--rear", true},      {"--no-sound", false}, {"--copy", false},
                                            {"--out", true},       {"--verify", true}, {"--card", true}};
  Options options;
  std::vector<std::string> operands;
  const auto take = [&](const std::string& name, const std::string& value, std::string& error) {
    if (name == "--from") options.from = value;
    else if (name == "--to") options.to = value;
    else if (name == "--out") options.out = value;
    else if (name == "--verify") options.verify = value;
    else if (name == "--card") options.card = value;
    else if (name == "--no-sound") options.sound = false;
    else if (name == "--copy") options.copy = true;
    else if (name == "--rear") {
      if (value == "pip") options.rear = RearLayout::PictureInPicture;
      else if (value == "side") options.rear = RearLayout::SideBySide;
      else if (value == "none") options.rear = RearLayout::None;
      else error = "pip, side or none";
    } else if (name == "--event") {
      const long n = std::strtol(value.c_str(), nullptr, 10);
      if (n < 1 || std::to_string(n) != value) error = "a row number from 1";
      else options.event = static_cast<std::size_t>(n);
    }
    return error.empty();
  };
  if (const auto status = tools::ParseCommandLine(argc, argv, tool, kOptions, take, operands)) return *status;
  if (!options.verify.empty()) return Verify(tool, options);
  if (operands.empty()) return tools::UsageError(tool, "no card or recording named");
  if (options.out.empty()) return tools::UsageError(tool, "--out names the file to write");
  if (options.event.has_value() == (!options.from.empty() || !options.to.empty()) ||
      (!options.event && (options.from.empty() || options.to.empty())))
    return tools::UsageError(tool, "either --from and --to, or --event");
  return Export(tool, options, operands);
}
