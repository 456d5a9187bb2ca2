// Indexes a 500-recording card (10 s, two streams each) without a cache and with one, and measures the peak
// memory; gst-discoverer reads the same files' durations in the same run as the anchor. The card is made once
// under build/bench-media and kept, with the time its making took.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "ToolRunner.h"
#include "core/cardindex/CardIndex.h"
#include "core/cardindex/CardIndexCache.h"
#include "core/cardindex/CardRecordings.h"
#include "core/cardindex/RecordingSummaries.h"
#include "core/cardindex/ContainerDuration.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using vx::test::Quote;
constexpr int kDriveRecordings = 494;  // the card maker adds six more: event, AVI, no telemetry, cut, parked

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The card, made under nice (the cores are shared) when it is not there yet; the seconds its making took.
double MadeCard(const fs::path& card) {
  const fs::path madeIn = card.string() + ".seconds";
  if (double seconds = 0; std::ifstream(madeIn) >> seconds) return seconds;
  const auto start = Clock::now();
  const std::string make = "nice -n 19 " + vx::test::Tool("vx880-mkcard") + " --force --count " +
                           std::to_string(kDriveRecordings) + " --seconds 10 " + Quote(card.string()) + " >/dev/null";
  if (vx::test::RunTool(make).status != 0) return -1.0;
  const double seconds = SecondsSince(start);
  std::ofstream(madeIn) << seconds << '\n';
  return seconds;
}

// Empties the kernel's page cache (root only), so that a cold reading and the anchor both read from the disk.
bool DropPageCache() {
  ::sync();
  std::ofstream drop("/proc/sys/vm/drop_caches");
  return static_cast<bool>(drop << "1\n" << std::flush);
}

// gst-discoverer over every file in one process: each file's duration in ms, by path.
std::map<std::string, std::uint32_t> DiscovererDurations(const std::vector<std::string>& paths) {
  std::string command = "gst-discoverer-1.0";
  for (const std::string& path : paths) command += " " + Quote(path);
  const std::string out = vx::test::RunTool(command + " 2>/dev/null").out;
  std::map<std::string, std::uint32_t> durations;
  // A file discoverer cannot read has no duration: the match stays within its own report.
  const std::regex done(R"(Done discovering file://(\S+)(?:(?!Done discovering)[^])*?)"
                        R"(Duration: (\d+):(\d+):(\d+)\.(\d{3}))");
  for (auto it = std::sregex_iterator(out.begin(), out.end(), done); it != std::sregex_iterator(); ++it) {
    const auto& m = *it;
    durations[m[1]] = static_cast<std::uint32_t>(((std::stoul(m[2]) * 60 + std::stoul(m[3])) * 60 + std::stoul(m[4])) *
                                                 1000 + std::stoul(m[5]));
  }
  return durations;
}

}  // namespace

int main(int argc, char** argv) {
  // A card folder on the command line is used as it stands; else the kept 500-recording card.
  const fs::path card = argc > 1 ? fs::path(argv[1]) : fs::path(VX_BENCH_MEDIA_DIR) / "card-index-500";
  if (argc <= 1) std::printf("card_make_s: %.1f\n", MadeCard(card));
  const std::vector<std::string> recordings = vx::RecordingsBelow(card.string());
  const vx::test::TempDir cacheDir("card-index-bench");
  const auto summarize = [](const std::string& path) { return vx::SummarizeRecording(path); };
  vx::CardIndexJob job;
  job.cacheFile = cacheDir / "card-index.bin";
  job.cardFolder = card.string();
  job.recordings = recordings;
  job.summarize = summarize;

  const bool dropped = DropPageCache();
  auto start = Clock::now();
  const vx::CardIndex cold = vx::BuildCardIndex(job);
  const double coldS = SecondsSince(start);
  start = Clock::now();
  const vx::CardIndex warm = vx::BuildCardIndex(job);
  const double warmS = SecondsSince(start);
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);

  DropPageCache();
  start = Clock::now();
  const auto theirs = DiscovererDurations(recordings);
  const double discovererS = SecondsSince(start);
  std::size_t agree = 0, withTelemetry = 0;
  double distanceM = 0.0;
  for (const vx::RecordingSummary& s : cold.summaries) {
    distanceM += s.distanceM;
    withTelemetry += s.layout.empty() ? 0 : 1;
    const auto found = theirs.find(s.path);
    if (found == theirs.end()) continue;
    if (std::abs(double(found->second) - double(s.durationMs)) <= 1.0) {
      ++agree;
    } else {
      std::printf("duration_differs: %s ours %u ms, discoverer %u ms\n", s.path.c_str(), s.durationMs, found->second);
    }
  }
  std::printf("recordings: %zu\ncold_summarized: %zu\nwarm_from_cache: %zu\n", recordings.size(), cold.summarized,
              warm.fromCache);
  std::printf("with_telemetry: %zu\ndistance_km: %.1f\n", withTelemetry, distanceM / 1000.0);
  std::printf("cache_bytes: %llu\n", static_cast<unsigned long long>(fs::file_size(job.cacheFile)));
  std::printf("durations_read_by_discoverer: %zu\ndurations_agreeing: %zu\n", theirs.size(), agree);
  std::printf("page_cache_dropped_before_cold_and_discoverer: %s\n", dropped ? "yes" : "no");
  std::printf("peak_rss_mb: %.1f\n", double(usage.ru_maxrss) / 1024.0);
  std::printf("index_cold_s: %.3f\nindex_warm_s: %.4f\ndiscoverer_s: %.3f\n", coldS, warmS, discovererS);
  std::printf("cold_vs_discoverer_ratio: %.4f\nwarm_vs_discoverer_ratio: %.5f\n", coldS / discovererS,
              warmS / discovererS);
  return cold.summarized == recordings.size() && warm.fromCache == recordings.size() ? 0 : 1;
}
