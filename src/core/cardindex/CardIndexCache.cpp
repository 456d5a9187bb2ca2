// The cache file's little-endian layout, its bounded reader, and the write through a temporary file.
#include "core/cardindex/CardIndexCache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vx {
namespace {

constexpr char kMagic[8] = {'V', 'X', '8', '8', '0', 'I', 'D', 'X'};
// 2: the event thresholds in the header; 3: a file with neither a recording header nor telemetry is
// summarized as one that cannot be read.
constexpr std::uint32_t kVersion = 3;
constexpr std::size_t kThresholdBytes = 4 * 8 + 3 * 4;
constexpr std::size_t kHeaderBytes = sizeof kMagic + 4 + kThresholdBytes + 4;  // magic, version, thresholds, count
constexpr std::size_t kCrcBytes = 4;
// The fewest bytes a record and an event take (empty strings, no events, no position): what bounds the counts.
constexpr std::size_t kMinRecordBytes = 4 + 8 + 8 + 8 + 1 + 4 + 8 + 8 + 8 + 4 + 4 + 4;
constexpr std::size_t kMinEventBytes = 1 + 4 + 8 + 1;
constexpr std::uint8_t kHasLatitude = 1, kHasLongitude = 2;
constexpr auto kLastStartSource = RecordingSummary::StartSource::FileTime;
constexpr auto kLastEventKind = DetectedEvent::Kind::CameraEvent;

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  return static_cast<std::uint32_t>(::crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
}

class Writer {
 public:
  void U8(std::uint8_t v) { m_bytes.push_back(v); }
  void U32(std::uint32_t v) { Le(v, 4); }
  void U64(std::uint64_t v) { Le(v, 8); }
  void I64(std::int64_t v) { U64(static_cast<std::uint64_t>(v)); }
  void F64(double v) { U64(std::bit_cast<std::uint64_t>(v)); }
  void Str(const std::string& s) {
    U32(static_cast<std::uint32_t>(s.size()));
    m_bytes.insert(m_bytes.end(), s.begin(), s.end());
  }
  std::vector<std::uint8_t>& Bytes() { return m_bytes; }

 private:
  void Le(std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) m_bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  std::vector<std::uint8_t> m_bytes;
};

// Reads from the front of `bytes`; the first read that runs past the end sets a problem and returns zeros.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
  std::uint8_t U8() { return static_cast<std::uint8_t>(Le(1)); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Le(4)); }
  std::uint64_t U64() { return Le(8); }
  std::int64_t I64() { return static_cast<std::int64_t>(Le(8)); }
  double F64() { return std::bit_cast<double>(Le(8)); }
  std::string Str() {
    const std::uint32_t size = U32();
    if (!Has(size, "string")) return {};
    std::string s(reinterpret_cast<const char*>(m_bytes.data()), size);
    m_bytes = m_bytes.subspan(size);
    return s;
  }
  // A count of items of at least `itemBytes` each: more than the remaining bytes can hold is damage.
  std::uint32_t Count(std::size_t itemBytes, const char* what) {
    const std::uint32_t count = U32();
    return Has(std::uint64_t(count) * itemBytes, what) ? count : 0;
  }
  // An enumerator no larger than `last`.
  template <typename Enum>
  Enum Enumerator(Enum last, const char* what) {
    const std::uint8_t value = U8();
    if (value > static_cast<std::uint8_t>(last)) Fail(std::string("unknown ") + what);
    return static_cast<Enum>(value);
  }
  void Fail(std::string problem) {
    if (m_strProblem.empty()) m_strProblem = std::move(problem);
  }
  bool Has(std::uint64_t size, const char* what) {
    if (m_strProblem.empty() && size <= m_bytes.size()) return true;
    Fail(std::string(what) + " runs past the end");
    return false;
  }
  std::size_t Left() const { return m_bytes.size(); }
  const std::string& Problem() const { return m_strProblem; }

 private:
  std::uint64_t Le(int bytes) {
    if (!Has(static_cast<std::uint64_t>(bytes), "field")) return 0;
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | m_bytes[static_cast<std::size_t>(i)];
    m_bytes = m_bytes.subspan(static_cast<std::size_t>(bytes));
    return v;
  }
  std::span<const std::uint8_t> m_bytes;
  std::string m_strProblem;
};

// The events of every record were found with these; a cache made with others has nothing to offer.
void WriteThresholds(Writer& out, const EventThresholds& t) {
  out.F64(t.brakingG);
  out.F64(t.accelerationG);
  out.F64(t.turnG);
  out.F64(t.impactG);
  out.U32(t.averageMs);
  out.U32(t.impactWindowMs);
  out.U32(t.mergeMs);
}

EventThresholds ReadThresholds(Reader& in) {
  EventThresholds t;
  t.brakingG = in.F64();
  t.accelerationG = in.F64();
  t.turnG = in.F64();
  t.impactG = in.F64();
  t.averageMs = in.U32();
  t.impactWindowMs = in.U32();
  t.mergeMs = in.U32();
  return t;
}

void WriteEvent(Writer& out, const DetectedEvent& event) {
  out.U8(static_cast<std::uint8_t>(event.kind));
  out.U32(event.mediaMs);
  out.F64(event.peakG);
  out.U8(static_cast<std::uint8_t>((event.latitude ? kHasLatitude : 0) | (event.longitude ? kHasLongitude : 0)));
  if (event.latitude) out.F64(*event.latitude);
  if (event.longitude) out.F64(*event.longitude);
}

DetectedEvent ReadEvent(Reader& in) {
  DetectedEvent event;
  event.kind = in.Enumerator(kLastEventKind, "event kind");
  event.mediaMs = in.U32();
  event.peakG = in.F64();
  const std::uint8_t position = in.U8();
  if (position > (kHasLatitude | kHasLongitude)) in.Fail("unknown event position flags");
  if (position & kHasLatitude) event.latitude = in.F64();
  if (position & kHasLongitude) event.longitude = in.F64();
  return event;
}

void WriteSummary(Writer& out, const RecordingSummary& s) {
  out.Str(s.path);
  out.U64(s.sizeBytes);
  out.I64(s.modifiedNs);
  out.I64(s.startUtcMs);
  out.U8(static_cast<std::uint8_t>(s.startSource));
  out.U32(s.durationMs);
  out.F64(s.distanceM);
  out.F64(s.maxSpeedKmh);
  out.F64(s.maxG);
  out.Str(s.layout);
  out.U32(static_cast<std::uint32_t>(s.events.size()));
  for (const DetectedEvent& event : s.events) WriteEvent(out, event);
  out.Str(s.problem);
}

RecordingSummary ReadSummary(Reader& in) {
  RecordingSummary s;
  s.path = in.Str();
  s.sizeBytes = in.U64();
  s.modifiedNs = in.I64();
  s.startUtcMs = in.I64();
  s.startSource = in.Enumerator(kLastStartSource, "start source");
  s.durationMs = in.U32();
  s.distanceM = in.F64();
  s.maxSpeedKmh = in.F64();
  s.maxG = in.F64();
  s.layout = in.Str();
  const std::uint32_t events = in.Count(kMinEventBytes, "event count");
  for (std::uint32_t i = 0; i < events && in.Problem().empty(); ++i) s.events.push_back(ReadEvent(in));
  s.problem = in.Str();
  return s;
}

std::filesystem::path HomeCache() {
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / ".cache";
}

}  // namespace

bool StatRecordingKey(const std::string& path, RecordingKey& key) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  key.path = path;
  key.sizeBytes = static_cast<std::uint64_t>(st.st_size);
  key.modifiedNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return true;
}

std::string CardIndexCacheFile() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  const std::filesystem::path base = cache && *cache ? std::filesystem::path(cache) : HomeCache();
  return (base / "vx880" / "card-index.bin").string();
}

std::vector<std::uint8_t> EncodeCardIndexCache(std::span<const RecordingSummary> summaries,
                                               const EventThresholds& thresholds) {
  Writer out;
  out.Bytes().assign(std::begin(kMagic), std::end(kMagic));
  out.U32(kVersion);
  WriteThresholds(out, thresholds);
  out.U32(static_cast<std::uint32_t>(summaries.size()));
  for (const RecordingSummary& summary : summaries) WriteSummary(out, summary);
  out.U32(Crc32(out.Bytes()));
  return std::move(out.Bytes());
}

DecodedCardIndexCache DecodeCardIndexCache(std::span<const std::uint8_t> bytes, const EventThresholds& thresholds) {
  if (bytes.size() < kHeaderBytes + kCrcBytes || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
    return {{}, "not a card index cache"};
  }
  Reader in(bytes.subspan(sizeof kMagic));
  if (const std::uint32_t version = in.U32(); version != kVersion) {
    return {{}, "card index cache of format version " + std::to_string(version) + ", not " + std::to_string(kVersion)};
  }
  const auto body = bytes.first(bytes.size() - kCrcBytes);
  Reader crc(bytes.last(kCrcBytes));
  if (crc.U32() != Crc32(body)) return {{}, "card index cache damaged (checksum differs)"};
  Reader records(body.subspan(sizeof kMagic + 4));
  if (ReadThresholds(records) != thresholds) return {{}, "card index cache made with other event thresholds"};
  DecodedCardIndexCache decoded;
  const std::uint32_t count = records.Count(kMinRecordBytes, "record count");
  decoded.summaries.reserve(count);
  for (std::uint32_t i = 0; i < count && records.Problem().empty(); ++i) decoded.summaries.push_back(ReadSummary(records));
  if (records.Problem().empty() && records.Left() != 0) records.Fail("bytes after the last record");
  if (!records.Problem().empty()) return {{}, "card index cache damaged: " + records.Problem()};
  return decoded;
}

CCardIndexCache::CCardIndexCache(std::vector<RecordingSummary> summaries) {
  for (RecordingSummary& summary : summaries) {
    std::string path = summary.path;
    m_mapSummaries.insert_or_assign(std::move(path), std::move(summary));
  }
}

CCardIndexCache CCardIndexCache::Load(const std::string& file, const EventThresholds& thresholds) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return CCardIndexCache({});  // no cache yet: nothing to say
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  DecodedCardIndexCache decoded = DecodeCardIndexCache(bytes, thresholds);
  CCardIndexCache cache(std::move(decoded.summaries));
  if (!decoded.problem.empty()) cache.m_strProblem = file + ": " + decoded.problem + "; rebuilding it";
  return cache;
}

const RecordingSummary* CCardIndexCache::Find(const RecordingKey& key) const {
  const auto found = m_mapSummaries.find(key.path);
  if (found == m_mapSummaries.end()) return nullptr;
  const RecordingSummary& s = found->second;
  return s.sizeBytes == key.sizeBytes && s.modifiedNs == key.modifiedNs ? &s : nullptr;
}

bool SaveCardIndexCache(const std::string& file, std::span<const RecordingSummary> summaries,
                        const EventThresholds& thresholds, std::string& error) {
  const std::filesystem::path target(file);
  std::error_code ec;
  std::filesystem::create_directories(target.parent_path(), ec);
  // A name of its own, so that two viewers saving at once never write into one temporary file.
  std::string temp = file + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = "cannot write " + temp + ": " + std::strerror(errno);
    return false;
  }
  const std::vector<std::uint8_t> bytes = EncodeCardIndexCache(summaries, thresholds);
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  const bool flushed = written == bytes.size() && ::fsync(fd) == 0;
  const int savedErrno = errno;
  ::close(fd);
  if (!flushed || ::rename(temp.c_str(), file.c_str()) != 0) {
    error = "cannot write " + file + ": " + std::strerror(flushed ? errno : savedErrno);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace vx
