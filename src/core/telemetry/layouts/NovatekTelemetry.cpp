// Novatek freeGPS telemetry: the `gps ` index in `moov`, the scan of `mdat` and the two record layouts.
#include "core/telemetry/layouts/NovatekTelemetry.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "core/telemetry/layouts/FixFields.h"
#include "core/telemetry/layouts/Mp4Boxes.h"

namespace vx {
namespace {

// A block starts with its 32-bit big-endian size and "freeGPS "; the records of both layouts end by byte 0x5c.
constexpr std::uint64_t kRecordBytes = 0x5c;
constexpr std::uint64_t kMaxBlockSize = 1 << 20;          // cameras write 16 or 32 KiB blocks
constexpr std::uint64_t kScanLimit = 32ull << 20;         // of media data searched when there is no index
constexpr std::uint64_t kScanChunk = 1 << 20;
constexpr std::uint64_t kMaxIndexEntries = 3 * 24 * 3600;  // three days of one block a second
constexpr std::string_view kBlockTag = "freeGPS ";
constexpr double kKmhPerKnot = 1.852;
constexpr double kMaxSpeedKmh = 600.0;
constexpr double kMaxAccelG = 64.0;

float LeFloat(const std::uint8_t* p) { return std::bit_cast<float>(Le32(p)); }

// Whole, valid calendar time in UTC milliseconds; the year may be counted from 2000.
std::optional<std::int64_t> UtcMs(std::uint32_t year, std::uint32_t month, std::uint32_t day, std::uint32_t hour,
                                  std::uint32_t minute, std::uint32_t second) {
  return CalendarUtcMs(year < 2000 ? year + 2000 : year, month, day, hour, minute, second);
}

// DDDMM.MMMM as the camera writes it, in degrees up to `maxDegrees`; nullopt when it is not such a number.
std::optional<double> Degrees(float raw, double maxDegrees) {
  if (!std::isfinite(raw) || raw < 0.0f) return std::nullopt;
  const double degrees = std::trunc(raw / 100.0);
  const double minutes = raw - degrees * 100.0;
  const double value = degrees + minutes / 60.0;
  if (minutes >= 60.0 || value > maxDegrees) return std::nullopt;
  return value;
}

// Both layouts hold six little-endian int32 (hour, minute, second, year, month, day), then the status
// ('A' valid, 'V' void), the two hemisphere letters, a zero byte, and floats: latitude, longitude (DDDMM.MMMM),
// speed in knots, heading. They differ in where that record starts; the accelerometer variant follows it
// with three int32 in 1/256 g.
struct RecordLayout {
  std::size_t status;
  bool hasAccel;
};
constexpr std::array<RecordLayout, 2> kLayouts{{{0x28, true}, {0x48, false}}};

// A layout matches when its status is 'A' or 'V' and the zero bytes around it (the top of the day and the
// byte after the letters) are zero; firmware updates move the record, so one offset alone proves nothing.
bool Matches(const std::uint8_t* block, const RecordLayout& layout) {
  const std::uint8_t* s = block + layout.status;
  return (s[0] == 'A' || s[0] == 'V') && s[-3] == 0 && s[-2] == 0 && s[-1] == 0 && s[3] == 0;
}

GpsSample ReadFix(const std::uint8_t* block, const RecordLayout& layout, std::uint32_t mediaMs) {
  const std::uint8_t* s = block + layout.status;
  const std::uint8_t* t = s - 24;
  GpsSample fix;
  fix.mediaMs = mediaMs;
  fix.utcMs = UtcMs(Le32(t + 12), Le32(t + 16), Le32(t + 20), Le32(t), Le32(t + 4), Le32(t + 8));
  const auto latitude = Degrees(LeFloat(s + 4), 90.0);
  const auto longitude = Degrees(LeFloat(s + 8), 180.0);
  const float knots = LeFloat(s + 12), heading = LeFloat(s + 16);
  const bool lettersValid = (s[1] == 'N' || s[1] == 'S') && (s[2] == 'E' || s[2] == 'W');
  const bool speedValid = std::isfinite(knots) && knots >= 0.0f && knots * kKmhPerKnot <= kMaxSpeedKmh;
  const bool headingValid = std::isfinite(heading) && heading >= 0.0f && heading <= 360.0f;
  if (s[0] != 'A' || !lettersValid || !fix.utcMs || !latitude || !longitude || !speedValid || !headingValid ||
      (*latitude == 0.0 && *longitude == 0.0)) {
    return fix;
  }
  fix.valid = true;
  fix.latitude = s[1] == 'S' ? -*latitude : *latitude;
  fix.longitude = s[2] == 'W' ? -*longitude : *longitude;
  fix.speedKmh = knots * kKmhPerKnot;
  fix.headingDeg = heading;
  return fix;
}

// The three axes after the accelerometer variant's record; nullopt when the camera left its placeholders
// (all zero, or the int16 count 1 to 6) or a value is beyond what a car feels.
std::optional<AccelSample> ReadAccel(const std::uint8_t* block, const RecordLayout& layout, std::uint32_t mediaMs) {
  static constexpr std::uint8_t kCounting[12] = {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0};
  static constexpr std::uint8_t kZero[12] = {};
  const std::uint8_t* a = block + layout.status + 20;
  if (std::memcmp(a, kZero, 12) == 0 || std::memcmp(a, kCounting, 12) == 0) return std::nullopt;
  const auto axis = [a](int i) { return static_cast<std::int32_t>(Le32(a + 4 * i)) / 256.0; };
  const AccelSample sample{mediaMs, axis(0), axis(1), axis(2)};
  if (std::max({std::abs(sample.x), std::abs(sample.y), std::abs(sample.z)}) > kMaxAccelG) return std::nullopt;
  return sample;
}

class NovatekReader {
 public:
  NovatekReader(const ByteSource& src, bool searchWithoutIndex) : m_src(src), m_bSearch(searchWithoutIndex) {}
  TelemetryTrack Read();

 private:
  enum class BlockResult { Read, NotABlock, Damaged };
  bool ReadIndex(const Mp4Box& index);
  void ScanMediaData(const Mp4Box& mdat);
  BlockResult ReadBlock(std::uint64_t offset, std::uint64_t declaredSize);
  std::optional<std::uint64_t> FindTag(std::uint64_t from, std::uint64_t end) const;

  const ByteSource& m_src;
  const bool m_bSearch;
  TelemetryTrack m_track;
  std::uint32_t m_nBlocks = 0;
};

TelemetryTrack NovatekReader::Read() {
  const std::uint64_t fileEnd = m_src.Size();
  const auto moov = FindMp4Box(m_src, 0, fileEnd, "moov");
  const auto index =
      moov ? FindMp4Box(m_src, moov->payloadOffset, moov->payloadOffset + moov->payloadSize, "gps ") : std::nullopt;
  if (index && ReadIndex(*index)) return std::move(m_track);
  if (!m_bSearch) return {};
  if (const auto mdat = FindMp4Box(m_src, 0, fileEnd, "mdat")) ScanMediaData(*mdat);
  return std::move(m_track);
}

// The index: a 32-bit word, the big-endian entry count, then per block its file offset and size (both
// big-endian 32-bit). False when it lists no block, so that the media data is searched instead.
bool NovatekReader::ReadIndex(const Mp4Box& index) {
  std::array<std::uint8_t, 8> head{};
  if (index.payloadSize < head.size() || !m_src.Read(index.payloadOffset, head)) return false;
  const std::uint64_t count =
      std::min<std::uint64_t>({Be32(head.data() + 4), (index.payloadSize - 8) / 8, kMaxIndexEntries});
  std::vector<std::uint8_t> entries(count * 8);
  if (count == 0 || !m_src.Read(index.payloadOffset + 8, entries)) return false;
  m_track.layout = kNovatekLayoutName;
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint32_t offset = Be32(&entries[i * 8]), size = Be32(&entries[i * 8 + 4]);
    if (offset == 0 && size == 0) continue;  // a slot the camera did not fill
    if (ReadBlock(offset, size) != BlockResult::Read) {
      if (m_track.warning.empty()) {
        m_track.warning = "freeGPS index entry " + std::to_string(i) + " points at no block (byte " +
                          std::to_string(offset) + "): the track stops there";
      }
      break;
    }
  }
  return true;
}

// Reads the block at `offset` whose size is declared `declaredSize` (by the index, or by the block itself).
NovatekReader::BlockResult NovatekReader::ReadBlock(std::uint64_t offset, std::uint64_t declaredSize) {
  if (declaredSize < kRecordBytes || declaredSize > kMaxBlockSize) return BlockResult::NotABlock;
  std::array<std::uint8_t, kRecordBytes> block{};
  if (offset > m_src.Size() || declaredSize > m_src.Size() - offset || !m_src.Read(offset, block)) {
    m_track.warning = "freeGPS block at byte " + std::to_string(offset) + " runs past the end of the file";
    return BlockResult::Damaged;
  }
  if (std::memcmp(block.data() + 4, kBlockTag.data(), kBlockTag.size()) != 0) return BlockResult::NotABlock;
  const std::uint32_t mediaMs = m_nBlocks++ * 1000u;
  for (const RecordLayout& layout : kLayouts) {
    if (!Matches(block.data(), layout)) continue;
    m_track.gps.push_back(ReadFix(block.data(), layout, mediaMs));
    if (layout.hasAccel) {
      if (const auto accel = ReadAccel(block.data(), layout, mediaMs)) m_track.accel.push_back(*accel);
    }
    break;  // a block in neither layout is a variant not read here: no sample, but its second counts
  }
  return BlockResult::Read;
}

// Searches [from, end) for the block tag; the offset of the block (4 bytes before the tag) or nullopt.
std::optional<std::uint64_t> NovatekReader::FindTag(std::uint64_t from, std::uint64_t end) const {
  std::vector<std::uint8_t> chunk;
  while (from + 4 + kBlockTag.size() <= end) {
    chunk.resize(std::min(kScanChunk, end - from));
    if (!m_src.Read(from, chunk)) return std::nullopt;
    const auto hit = std::search(chunk.begin() + 4, chunk.end(), kBlockTag.begin(), kBlockTag.end());
    if (hit != chunk.end()) return from + static_cast<std::uint64_t>(hit - chunk.begin()) - 4;
    if (from + chunk.size() >= end) return std::nullopt;
    from += chunk.size() - (4 + kBlockTag.size() - 1);  // a tag may straddle the chunks
  }
  return std::nullopt;
}

// Without an index, blocks are found by their tag in the first 32 MiB of the media data; each one's own
// size leads to the next search.
void NovatekReader::ScanMediaData(const Mp4Box& mdat) {
  const std::uint64_t end = mdat.payloadOffset + std::min(mdat.payloadSize, kScanLimit);
  for (std::uint64_t at = mdat.payloadOffset; const auto block = FindTag(at, end);) {
    std::array<std::uint8_t, 4> size{};
    if (!m_src.Read(*block, size)) return;
    const BlockResult result = ReadBlock(*block, Be32(size.data()));
    if (result == BlockResult::Damaged) return;
    if (result == BlockResult::NotABlock) {
      at = *block + 1;
      continue;
    }
    m_track.layout = kNovatekLayoutName;
    at = *block + Be32(size.data());
  }
}

}  // namespace

TelemetryTrack ReadNovatekTelemetry(const ByteSource& file, bool searchWithoutIndex) {
  return NovatekReader(file, searchWithoutIndex).Read();
}

}  // namespace vx
