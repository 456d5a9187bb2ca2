// The card index: container durations against gst-discoverer, the cache file's round trip and its damage,
// and the builder re-reading changed files, dropping removed ones and rebuilding a damaged cache.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <zlib.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <regex>

#include "../telemetry/Mp4Boxes.h"
#include "ToolRunner.h"
#include "core/cardindex/CardIndex.h"
#include "core/cardindex/CardIndexCache.h"
#include "core/cardindex/ContainerDuration.h"

namespace vx {
namespace {

using test::Be32, test::Box, test::Bytes, test::Text, test::operator+;

std::optional<std::uint32_t> DurationOf(const Bytes& bytes) { return ContainerDurationMs(MemoryByteSource(bytes)); }

// gst-discoverer's "Duration: H:MM:SS.nnnnnnnnn" in ms.
std::optional<std::uint32_t> DiscovererMs(const std::string& path) {
  const std::string out = test::RunTool("gst-discoverer-1.0 " + test::Quote(path) + " 2>/dev/null").out;
  std::smatch m;
  if (!std::regex_search(out, m, std::regex(R"(Duration: (\d+):(\d+):(\d+)\.(\d{3}))"))) return std::nullopt;
  return static_cast<std::uint32_t>(((std::stoul(m[1]) * 60 + std::stoul(m[2])) * 60 + std::stoul(m[3])) * 1000 +
                                    std::stoul(m[4]));
}

TEST(ContainerDuration, AgreesWithDiscovererOnCardMakerFiles) {
  const test::TempDir dir("duration");
  for (const char* options : {"--streams 2", "--streams 1 --audio none", "--streams 2 --codec mjpeg --audio pcm",
                              "--streams 2 --codec h264 --audio none"}) {
    const bool avi = std::string(options).find("pcm") != std::string::npos ||
                     std::string(options).find("--codec h264") != std::string::npos;
    const std::string path = dir / (avi ? "X.AVI" : "X.MP4");
    ASSERT_EQ(test::RunTool(test::Tool("vx880-mkcard") + " --force --seconds 3 " + options + " --file " + path +
                            " >/dev/null 2>&1").status, 0) << options;
    const auto ours = ContainerDurationMs(path);
    const auto theirs = DiscovererMs(path);
    ASSERT_TRUE(ours && theirs) << options;
    EXPECT_NEAR(double(*ours), double(*theirs), 1.0) << options;
  }
}

// mvhd payloads: version 0 (32-bit times) and 1 (64-bit), with the timescale and duration given.
Bytes Mvhd0(std::uint32_t timescale, std::uint32_t duration) {
  return Box("mvhd", Bytes(4, 0) + Be32(0) + Be32(0) + Be32(timescale) + Be32(duration) + Bytes(80, 0));
}
Bytes Mvhd1(std::uint32_t timescale, std::uint64_t duration) {
  return Box("mvhd", Bytes{1, 0, 0, 0} + Bytes(16, 0) + Be32(timescale) + Be32(std::uint32_t(duration >> 32)) +
                         Be32(std::uint32_t(duration)) + Bytes(80, 0));
}
Bytes Le32(std::uint32_t v) { return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)}; }
Bytes Riff(std::uint32_t usPerFrame, std::uint32_t frames, std::uint32_t avihSize = 56) {
  const Bytes avih = Text("avih") + Le32(avihSize) + Le32(usPerFrame) + Bytes(12, 0) + Le32(frames) + Bytes(36, 0);
  const Bytes hdrl = Text("LIST") + Le32(std::uint32_t(avih.size() + 4)) + Text("hdrl") + avih;
  return Text("RIFF") + Le32(std::uint32_t(hdrl.size() + 4)) + Text("AVI ") + hdrl;
}

TEST(ContainerDuration, ReadsHeadersAndRefusesDamage) {
  const Bytes ftyp = Box("ftyp", Text("isom") + Be32(0));
  const Bytes cutMoov = ftyp + Be32(400) + Text("moov") + Mvhd0(1000, 5000);
  const Bytes avi = Riff(33333, 300);
  const struct {
    const char* name;
    Bytes bytes;
    std::optional<std::uint32_t> ms;
  } cases[] = {
      {"version 0", ftyp + Box("moov", Mvhd0(90000, 900000)), 10000},
      {"version 1, 64-bit duration", ftyp + Box("moov", Mvhd1(1000, 0x100000000ull)), std::nullopt},  // > 49 days
      {"version 1", ftyp + Box("moov", Box("free", {}) + Mvhd1(600, 1234567)), 2057611},
      {"duration not known", ftyp + Box("moov", Mvhd0(1000, 0xFFFFFFFFu)), std::nullopt},
      {"timescale 0", ftyp + Box("moov", Mvhd0(0, 5000)), std::nullopt},
      {"unknown mvhd version", ftyp + Box("moov", Box("mvhd", Bytes{2} + Bytes(110, 0))), std::nullopt},
      {"mvhd too short", ftyp + Box("moov", Box("mvhd", Bytes(12, 0))), std::nullopt},
      {"moov cut", cutMoov, std::nullopt},
      {"no moov", ftyp + Box("mdat", Bytes(64, 0)), std::nullopt},
      {"AVI", avi, 9999},
      {"AVI avih past its list", Riff(33333, 300, 400), std::nullopt},
      {"AVI cut in avih", Bytes(avi.begin(), avi.end() - 40), std::nullopt},
      {"text", Text("just some text, no container at all"), std::nullopt},
      {"empty", {}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(DurationOf(c.bytes), c.ms) << c.name;
}

RecordingSummary FullSummary() {
  RecordingSummary s;
  s.path = "/media/card/DCIM/20261206_081500_D01.MP4";
  s.sizeBytes = 3737892;
  s.modifiedNs = 1796544000123456789;
  s.startUtcMs = -5;
  s.startSource = RecordingSummary::StartSource::FirstFix;
  s.durationMs = 60033;
  s.distanceM = 812.25;
  s.maxSpeedKmh = 88.5;
  s.maxG = 1.75;
  s.layout = "VX-880QN log";
  s.events = {{DetectedEvent::Kind::HardBraking, 4100, 0.62, 37.5, 126.9},
              {DetectedEvent::Kind::CameraEvent, 0, 0.0, std::nullopt, 127.0},
              {DetectedEvent::Kind::SharpTurn, 9000, 0.5, std::nullopt, std::nullopt}};
  s.problem = "telemetry cut";
  return s;
}

Bytes Encoded(const std::vector<RecordingSummary>& summaries) { return EncodeCardIndexCache(summaries); }

TEST(CardIndexCache, RoundTripsEveryField) {
  const std::vector<RecordingSummary> written{FullSummary(), RecordingSummary{}};
  const DecodedCardIndexCache read = DecodeCardIndexCache(Encoded(written));
  ASSERT_EQ(read.problem, "");
  EXPECT_EQ(Encoded(read.summaries), Encoded(written));  // every field, byte for byte
  ASSERT_EQ(read.summaries.size(), 2u);
  EXPECT_EQ(read.summaries[0].events[1].latitude, std::nullopt);
  EXPECT_EQ(read.summaries[0].events[1].longitude, 127.0);
  EXPECT_EQ(read.summaries[0].modifiedNs, 1796544000123456789);
}

// The checksum over everything before it, recomputed after a deliberate change of the body.
Bytes Resealed(Bytes bytes) {
  bytes.resize(bytes.size() - 4);
  const Bytes crc = Le32(static_cast<std::uint32_t>(::crc32(0, bytes.data(), static_cast<unsigned>(bytes.size()))));
  return bytes + crc;
}

TEST(CardIndexCache, DamagedCutForeignOrOtherVersionReadsEmpty) {
  const Bytes good = Encoded({FullSummary()});
  Bytes flipped = good, version = good, hugeCount = good, hugeString = good;
  flipped[good.size() / 2] ^= 0x10;
  version[8] = 3;
  hugeCount[12] = 0xFF;       // record count
  hugeString[16 + 3] = 0x7F;  // length of the first path
  RecordingSummary badSource = FullSummary(), badKind = FullSummary();
  badSource.startSource = static_cast<RecordingSummary::StartSource>(7);
  badKind.events[2].kind = static_cast<DetectedEvent::Kind>(9);
  const struct {
    const char* name;
    Bytes bytes;
    const char* problem;
  } cases[] = {
      {"flipped bit", flipped, "checksum"},
      {"other version", version, "version 3"},
      {"foreign", Text("PK\3\4 a zip file, not ours at all"), "not a card index cache"},
      {"count past the end", Resealed(hugeCount), "record count runs past the end"},
      {"string past the end", Resealed(hugeString), "string runs past the end"},
      {"unknown start source", Encoded({badSource}), "unknown start source"},
      {"unknown event kind", Encoded({FullSummary(), badKind}), "unknown event kind"},
      {"trailing bytes", Resealed(good + Bytes(4, 0)), "bytes after the last record"},
  };
  for (const auto& c : cases) {
    const DecodedCardIndexCache read = DecodeCardIndexCache(c.bytes);
    EXPECT_TRUE(read.summaries.empty()) << c.name;
    EXPECT_NE(read.problem.find(c.problem), std::string::npos) << c.name << ": " << read.problem;
  }
  for (std::size_t length = 0; length < good.size(); ++length) {
    const DecodedCardIndexCache read = DecodeCardIndexCache(std::span(good).first(length));
    if (!read.summaries.empty() || read.problem.empty()) {
      ADD_FAILURE() << "a cache cut to " << length << " bytes was read";
    }
  }
}

// A card of small files whose "summary" is made from their size; the cache and the card live in one folder.
class CardIndexBuild {
 public:
  CardIndexBuild() : m_dir("card-index") {
    for (const char* name : {"A.MP4", "B.MP4", "C.AVI"}) Write("card/" + std::string(name), name);
    m_job.cacheFile = m_dir / "cache/vx880/card-index.bin";
    m_job.cardFolder = m_dir / "card";
    m_job.summarize = [this](const std::string& path) {
      ++m_nSummarized;
      RecordingSummary s;
      s.durationMs = static_cast<std::uint32_t>(std::filesystem::file_size(path));
      return s;
    };
    Refresh();
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(m_dir / name).parent_path());
    std::ofstream(m_dir / name, std::ios::binary) << bytes;
  }
  void Refresh() {  // the card's recordings as the folder walk would list them
    m_job.recordings.clear();
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path() / "card")) {
      m_job.recordings.push_back(entry.path().string());
    }
    std::sort(m_job.recordings.begin(), m_job.recordings.end());
  }
  CardIndex Build() {
    m_nSummarized = 0;
    return BuildCardIndex(m_job);
  }
  std::vector<std::string> CachedPaths() const {
    std::vector<std::string> paths;
    const CCardIndexCache cache = CCardIndexCache::Load(m_job.cacheFile);
    for (const auto& [path, summary] : cache.Summaries()) paths.push_back(path);
    std::sort(paths.begin(), paths.end());
    return paths;
  }
  std::string operator/(const std::string& name) const { return m_dir / name; }

  test::TempDir m_dir;
  CardIndexJob m_job;
  int m_nSummarized = 0;
};

TEST(CardIndex, ReadsOnlyWhatChangedAndKeepsTheCacheToTheCard) {
  // Another card's record stays in the cache while this card is indexed.
  const struct {
    const char* name;
    std::function<void(CardIndexBuild&)> between;  // what happens to the card or the cache between two runs
    int summarized;                                // recordings worked out again on the second run
    std::vector<std::uint32_t> durations;          // of the second run's summaries
    bool cacheProblem;
  } cases[] = {
      {"unchanged", [](CardIndexBuild&) {}, 0, {5, 5, 5}, false},
      {"grown", [](CardIndexBuild& b) { b.Write("card/B.MP4", "B.MP4 and more"); }, 1, {5, 14, 5}, false},
      {"same size, newer time",
       [](CardIndexBuild& b) {
         std::filesystem::last_write_time(b / "card/A.MP4",
                                          std::filesystem::last_write_time(b / "card/A.MP4") + std::chrono::seconds(2));
         b.Write("card/A.MP4", "a.mp4");  // the bytes change too: only the key tells the cache
       },
       1, {5, 5, 5}, false},
      {"removed", [](CardIndexBuild& b) { std::filesystem::remove(b / "card/C.AVI"); b.Refresh(); }, 0, {5, 5}, false},
      {"damaged cache", [](CardIndexBuild& b) { b.Write("cache/vx880/card-index.bin", "VX880IDX\1\0\0\0 cut"); },
       3, {5, 5, 5}, true},
      {"cache removed", [](CardIndexBuild& b) { std::filesystem::remove(b.m_job.cacheFile); }, 3, {5, 5, 5}, false},
  };
  for (const auto& c : cases) {
    CardIndexBuild card;
    RecordingSummary other;
    other.path = card / "other-card/X.MP4";
    std::string error;
    ASSERT_TRUE(SaveCardIndexCache(card.m_job.cacheFile, std::vector{other}, error)) << error;
    ASSERT_EQ(card.Build().summarized, 3u) << c.name;
    c.between(card);
    const CardIndex index = card.Build();
    EXPECT_EQ(card.m_nSummarized, c.summarized) << c.name;
    EXPECT_EQ(index.fromCache + index.summarized, c.durations.size()) << c.name;
    std::vector<std::uint32_t> durations;
    for (const RecordingSummary& s : index.summaries) durations.push_back(s.durationMs);
    EXPECT_EQ(durations, c.durations) << c.name;
    EXPECT_EQ(!index.cacheProblem.empty(), c.cacheProblem) << c.name << ": " << index.cacheProblem;
    std::vector<std::string> cached = card.m_job.recordings;
    if (c.summarized != 3) cached.push_back(other.path);  // a cache read afresh knows no other card
    std::sort(cached.begin(), cached.end());
    EXPECT_EQ(card.CachedPaths(), cached) << c.name;
  }
}

TEST(CardIndex, StopsWhenAskedAndKeepsWhatItDid) {
  CardIndexBuild card;
  std::atomic<bool> stop = false;
  std::vector<std::size_t> reported;
  card.m_job.stop = &stop;
  card.m_job.progress = [&](std::size_t done, std::size_t total) {
    reported.push_back(done * 10 + total);
    if (done == 2) stop = true;
  };
  const CardIndex first = card.Build();
  EXPECT_TRUE(first.stopped);
  EXPECT_EQ(first.summaries.size(), 2u);
  EXPECT_EQ(reported, (std::vector<std::size_t>{13, 23}));
  stop = false;
  card.m_job.progress = nullptr;
  const CardIndex second = card.Build();
  EXPECT_FALSE(second.stopped);
  EXPECT_EQ(second.fromCache, 2u);
  EXPECT_EQ(card.m_nSummarized, 1);
}

}  // namespace
}  // namespace vx
