// Track headers (hdlr, mdhd, stsd) and the sample tables (stsz, stco/co64, stsc, stts) of MP4 files.
#include "core/telemetry/layouts/Mp4Tracks.h"

#include <algorithm>
#include <limits>
#include <span>

namespace vx {
namespace {

std::uint64_t Be(std::span<const std::uint8_t> bytes, std::size_t at, int width) {
  std::uint64_t value = 0;
  for (int i = 0; i < width; ++i) value = (value << 8) | bytes[at + i];
  return value;
}

std::optional<Mp4Box> Child(const ByteSource& file, const std::optional<Mp4Box>& parent, const char* type) {
  if (!parent) return std::nullopt;
  return FindMp4Box(file, parent->payloadOffset, parent->payloadOffset + parent->payloadSize, type);
}

// The first `count` bytes of the box's payload; empty when it holds fewer.
std::vector<std::uint8_t> Head(const ByteSource& file, const std::optional<Mp4Box>& box, std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  if (!box || box->payloadSize < count || !file.Read(box->payloadOffset, bytes)) bytes.clear();
  return bytes;
}

std::optional<Mp4Track> ReadTrackHeader(const ByteSource& file, const Mp4Box& trak) {
  const auto mdia = Child(file, trak, "mdia");
  const auto stbl = Child(file, Child(file, mdia, "minf"), "stbl");
  const auto handler = Head(file, Child(file, mdia, "hdlr"), 12);  // version, pre-defined, handler type
  const auto media = Head(file, Child(file, mdia, "mdhd"), 24);    // version 0: 32-bit times; 1: 64-bit
  const auto entries = Head(file, Child(file, stbl, "stsd"), 16);  // version, count, first entry's header
  if (!stbl || handler.empty() || media.empty() || entries.empty() || Be(entries, 4, 4) == 0) return std::nullopt;
  Mp4Track track;
  std::copy_n(handler.begin() + 8, 4, track.handler.begin());
  std::copy_n(entries.begin() + 12, 4, track.format.begin());
  track.timescale = static_cast<std::uint32_t>(Be(media, media[0] == 1 ? 20 : 12, 4));
  track.sampleTable = *stbl;
  if (track.timescale == 0) return std::nullopt;
  return track;
}

// A table box whose entries of `width` bytes follow a 4-byte version and a 32-bit count (from `countAt`);
// the count is cut to the entries the box holds, so that no entry is read past the box.
class Table {
 public:
  Table(const ByteSource& file, const std::optional<Mp4Box>& box, std::size_t countAt, std::size_t width,
        std::string& warning)
      : m_nWidth(width), m_nEntriesAt(countAt + 4) {
    if (box) m_bytes = ReadPayload(file, *box, warning);
    if (Present()) m_nCount = std::min<std::uint64_t>(Word(countAt), (m_bytes.size() - m_nEntriesAt) / width);
  }
  bool Present() const { return m_bytes.size() >= m_nEntriesAt; }
  std::uint64_t Count() const { return m_nCount; }
  std::uint64_t Word(std::size_t at) const { return Be(m_bytes, at, 4); }
  std::uint64_t Field(std::uint64_t entry, std::size_t at, int width) const {
    return Be(m_bytes, m_nEntriesAt + entry * m_nWidth + at, width);
  }

 private:
  std::vector<std::uint8_t> m_bytes;
  std::size_t m_nWidth;
  std::size_t m_nEntriesAt;
  std::uint64_t m_nCount = 0;
};

struct SampleTables {
  Table sizes;    // stsz: a size shared by all samples, or one per sample
  Table chunks;   // stco or co64: the file offset of each chunk
  Table toChunk;  // stsc: first chunk (from 1), samples per chunk, sample entry
  Table times;    // stts: sample count, duration
  int offsetWidth;
};

// Lists the samples the tables place, at most `count`; returns what ended the list early, if anything.
std::optional<std::string> PlaceSamples(const SampleTables& t, std::uint64_t count, std::uint32_t timescale,
                                        std::uint64_t fileSize, std::vector<Mp4Sample>& samples) {
  const std::uint64_t sharedSize = t.sizes.Word(4);
  std::uint64_t stsc = 0, stts = 0, timeLeft = t.times.Count() ? t.times.Field(0, 0, 4) : 0, time = 0;
  for (std::uint64_t chunk = 0; chunk < t.chunks.Count() && samples.size() < count; ++chunk) {
    while (stsc + 1 < t.toChunk.Count() && t.toChunk.Field(stsc + 1, 0, 4) <= chunk + 1) ++stsc;
    if (stsc >= t.toChunk.Count() || t.toChunk.Field(stsc, 0, 4) > chunk + 1) return "chunk without samples";
    std::uint64_t offset = t.chunks.Field(chunk, 0, t.offsetWidth);
    for (std::uint64_t k = t.toChunk.Field(stsc, 4, 4); k > 0 && samples.size() < count; --k) {
      if (!sharedSize && samples.size() >= t.sizes.Count()) return "sample without a size";
      const std::uint64_t size = sharedSize ? sharedSize : t.sizes.Field(samples.size(), 0, 4);
      if (offset > fileSize || size > fileSize - offset) return "sample past the end of the file";
      while (timeLeft == 0 && ++stts < t.times.Count()) timeLeft = t.times.Field(stts, 0, 4);
      if (timeLeft == 0) return "sample without a time";
      const std::uint64_t delta = t.times.Field(stts, 4, 4);
      const std::uint64_t startMs = time * 1000 / timescale, durationMs = delta * 1000 / timescale;
      if (startMs + durationMs > std::numeric_limits<std::uint32_t>::max()) return "sample time out of range";
      samples.push_back({offset, static_cast<std::uint32_t>(size), static_cast<std::uint32_t>(startMs),
                         static_cast<std::uint32_t>(durationMs)});
      offset += size;
      time += delta;
      --timeLeft;
    }
  }
  if (samples.size() < count) return "sample table places fewer samples than it lists";
  return std::nullopt;
}

}  // namespace

std::optional<Mp4Track> FindMp4Track(const ByteSource& file, std::initializer_list<const char*> formats) {
  std::optional<Mp4Track> found;
  const auto moov = FindMp4Box(file, 0, file.Size(), "moov");
  if (!moov) return found;
  std::string ignored;  // a damaged track header is a track we cannot read, not telemetry damage
  WalkMp4Boxes(file, moov->payloadOffset, moov->payloadOffset + moov->payloadSize, [&](const Mp4Box& box) {
    if (!box.Is("trak")) return true;
    found = ReadTrackHeader(file, box);
    if (found && std::ranges::any_of(formats, [&](const char* format) { return found->FormatIs(format); })) return false;
    found.reset();
    return true;
  }, ignored);
  return found;
}

std::vector<Mp4Sample> ReadMp4Samples(const ByteSource& file, const Mp4Track& track, std::string& warning) {
  std::vector<Mp4Sample> samples;
  const std::optional<Mp4Box> stbl = track.sampleTable;
  const auto stco = Child(file, stbl, "stco");
  const int offsetWidth = stco ? 4 : 8;
  const SampleTables tables{Table(file, Child(file, stbl, "stsz"), 8, 4, warning),
                            Table(file, stco ? stco : Child(file, stbl, "co64"), 4, offsetWidth, warning),
                            Table(file, Child(file, stbl, "stsc"), 4, 12, warning),
                            Table(file, Child(file, stbl, "stts"), 4, 8, warning), offsetWidth};
  if (!tables.sizes.Present() || !tables.chunks.Present() || !tables.toChunk.Present() || !tables.times.Present()) {
    warning = "track sample table incomplete";
    return samples;
  }
  std::uint64_t count = tables.sizes.Word(8);
  if (count > kMaxTrackSamples) {
    warning = "track holds more samples than read";
    count = kMaxTrackSamples;
  }
  if (const auto damage = PlaceSamples(tables, count, track.timescale, file.Size(), samples)) {
    warning = *damage + " (sample " + std::to_string(samples.size()) + ")";
  }
  return samples;
}

}  // namespace vx
