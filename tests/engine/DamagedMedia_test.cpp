// Damaged recordings: card-maker files cut at box and chunk boundaries or hit by bursts of random bytes,
// each opened, played for 2 s and sought 10 times. Nothing may crash, and no call may take 5 s.
#include <chrono>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "EngineFixture.h"

namespace vx::test {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kVariants = 200;
constexpr auto kLongestCall = std::chrono::seconds(5);

using Bytes = std::vector<char>;

// Start offsets of every MP4 box or RIFF chunk and list, in file order. A container's children follow its
// header, so the walk steps into a container instead of over it.
std::vector<std::size_t> Boundaries(const Bytes& b, bool mp4) {
  static const std::string kMp4Containers = "moov trak mdia minf stbl edts dinf udta";
  std::vector<std::size_t> starts;
  for (std::size_t at = 0; at + 8 <= b.size();) {
    const std::string type(&b[at + (mp4 ? 4 : 0)], 4);
    std::size_t size = 0;  // big-endian in MP4, little-endian in RIFF
    for (int i = 0; i < 4; ++i) size = size << 8 | static_cast<std::uint8_t>(b[at + (mp4 ? i : 7 - i)]);
    if (mp4 && size < 8) break;
    starts.push_back(at);
    if (mp4) at += kMp4Containers.find(type) != std::string::npos ? 8 : size;
    else at += type == "RIFF" || type == "LIST" ? 12 : 8 + size + (size & 1);
  }
  return starts;
}

// Variant `index` of one of four card-maker recordings, written next to them.
std::string MakeVariant(int index) {
  static const std::pair<const char*, const char*> kBases[] = {
      {"damage-two.MP4", "--streams 2"}, {"damage-one.MP4", "--streams 1"},
      {"damage-two.AVI", "--streams 2"}, {"damage-h264.AVI", "--streams 1 --codec h264"}};
  const auto& [name, options] = kBases[index % 4];
  std::ifstream in(CardFile(name, std::string(options) + " --seconds 4"), std::ios::binary);
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::mt19937 random(static_cast<unsigned>(index));
  if ((index / 4) % 2 == 0) {
    const std::vector<std::size_t> cuts = Boundaries(bytes, std::string(name).ends_with("MP4"));
    const std::size_t cut = cuts[random() % cuts.size()] + random() % 3 * 4;  // on, or just past, a boundary
    bytes.resize(std::min(cut, bytes.size()));
  } else {
    for (int burst = 0; burst < 1 + index % 3; ++burst) {
      const std::size_t length = 1 + random() % 4096;
      const std::size_t at = random() % bytes.size();
      for (std::size_t i = at; i < std::min(at + length, bytes.size()); ++i) bytes[i] = static_cast<char>(random());
    }
  }
  const std::string path = MediaDir() + "/damaged-" + std::to_string(index) + std::strrchr(name, '.');
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// Runs `call` and fails the test when it takes too long.
template <typename Call>
auto Timed(const char* what, Call call) {
  const auto start = Clock::now();
  auto result = call();
  EXPECT_LT(Clock::now() - start, kLongestCall) << what;
  return result;
}

void Exercise(CPlaybackEngine& engine, const std::string& path, int index) {
  if (Timed("Open", [&] { return engine.Open(path); }) != 1) return;
  CRecordingGraph& recording = *engine.Recording();
  Timed("Run", [&] { return recording.Run(); });
  for (const auto start = Clock::now(); Clock::now() - start < std::chrono::seconds(2);) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    RefTime position = 0;
    Timed("GetPosition", [&] { return recording.GetPosition(position); });
  }
  std::mt19937 random(static_cast<unsigned>(index));
  const auto duration = static_cast<std::uint32_t>(engine.GetDurationMs());
  for (int seek = 0; seek < 10; ++seek) {
    const auto ms = static_cast<std::int32_t>(random() % (duration + duration / 5 + 1));
    Timed("SeekMs", [&] { return engine.SeekMs(ms); });
    if (seek == 5) Timed("Pause", [&] { return recording.Pause(); });
  }
  Timed("Close", [&] { engine.Close(); return 0; });
}

// VX_DAMAGED_SHARD="k/n" runs every variant whose index is k modulo n; unset, a sample of 20 spread over
// the four recordings and both kinds of damage.
std::vector<int> Selected() {
  std::vector<int> indices;
  int k = 0, n = 1;
  if (const char* shard = std::getenv("VX_DAMAGED_SHARD"); shard && std::sscanf(shard, "%d/%d", &k, &n) == 2) {
    for (int i = k; i < kVariants; i += std::max(n, 1)) indices.push_back(i);
  } else {
    for (int i = 0; i < 20; ++i) indices.push_back(i * 37 % kVariants);
  }
  return indices;
}

using DamagedMedia = EngineTest;

TEST_F(DamagedMedia, OpensPlaysAndSeeksWithoutCrashingOrHanging) {
  for (int index : Selected()) {
    SCOPED_TRACE("variant " + std::to_string(index));
    const std::string path = MakeVariant(index);
    Exercise(m_engine, path, index);
    std::filesystem::remove(path);
  }
}

}  // namespace
}  // namespace vx::test
