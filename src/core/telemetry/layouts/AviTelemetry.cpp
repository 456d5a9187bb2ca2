// The RIFF chunk walk to `gps0`/`gsen` and their little-endian records.
#include "core/telemetry/layouts/AviTelemetry.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <span>
#include <vector>

#include "core/telemetry/layouts/FixFields.h"
#include "core/telemetry/layouts/Mp4Boxes.h"

namespace vx {
namespace {

constexpr std::size_t kGpsRecordBytes = 32;
constexpr std::size_t kAccelRecordBytes = 3;
constexpr double kAccelCountsPerG = 16.0;
constexpr double kAccelHzWithoutGps = 5.0;  // the rate seen in recordings when no GPS record paces it
constexpr double kMaxHeadingDeg = 360.0;
constexpr double kMaxMediaMs = 4294967295.0;

bool IsTag(const std::uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

double LeDouble(const std::uint8_t* p) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
  return std::bit_cast<double>(bits);
}

// Latitude and longitude as doubles in DDDMM.MMMM (signed), altitude int32 in metres, speed uint16 in
// km/h, then year since 2000, month, day, hour, minute, second as bytes, and the heading in units of 2°.
GpsSample ReadGpsRecord(const std::uint8_t* r, std::uint32_t mediaMs) {
  const auto utcMs = CalendarUtcMs(2000u + r[0x16], r[0x17], r[0x18], r[0x19], r[0x1a], r[0x1b]);
  GpsSample fix = CheckedFix(mediaMs, utcMs, DdmmDegrees(LeDouble(r)), DdmmDegrees(LeDouble(r + 8)), Le16(r + 0x14));
  if (fix.valid) {
    fix.altitudeM = static_cast<std::int32_t>(Le32(r + 0x10));
    if (const double heading = r[0x1c] * 2.0; heading <= kMaxHeadingDeg) fix.headingDeg = heading;
  }
  return fix;
}

class AviReader {
 public:
  explicit AviReader(const ByteSource& file) : m_file(file) {}
  TelemetryTrack Read();

 private:
  enum class Level { File, Riff, Movi };
  bool Walk(std::uint64_t begin, std::uint64_t end, Level level);
  bool ReadRecords(const Mp4Box& chunk);
  void TimeAccel();

  const ByteSource& m_file;
  TelemetryTrack m_track;
  bool m_bFound = false;
};

TelemetryTrack AviReader::Read() {
  std::array<std::uint8_t, 12> head{};
  if (!m_file.Read(0, head) || !IsTag(head.data(), "RIFF") || !IsTag(head.data() + 8, "AVI ")) return {};
  Walk(0, m_file.Size(), Level::File);
  if (!m_bFound) return {};
  m_track.layout = kAviGpsLayoutName;
  TimeAccel();
  return std::move(m_track);
}

// Walks the chunks in [begin, end): RIFF lists at the top of the file (an AVI over 1 GiB goes on in `AVIX`
// lists), the `movi` list in them, and the telemetry chunks at either level. Every size is held to the
// list that holds it. False when damage ended the walk.
bool AviReader::Walk(std::uint64_t begin, std::uint64_t end, Level level) {
  std::array<std::uint8_t, 12> head{};
  for (std::uint64_t at = begin; at < end;) {
    if (end - at < 8 || !m_file.Read(at, std::span(head).first(8))) break;  // padding or a cut header at the end
    Mp4Box chunk;
    std::copy_n(head.begin(), 4, chunk.type.begin());
    const std::uint64_t size = Le32(head.data() + 4);
    chunk.payloadOffset = at + 8;
    chunk.cut = size > end - chunk.payloadOffset;
    chunk.payloadSize = std::min(size, end - chunk.payloadOffset);
    const bool isList = chunk.Is("RIFF") || chunk.Is("LIST");
    if (isList && chunk.payloadSize >= 4 && m_file.Read(chunk.payloadOffset, std::span(head).subspan(8, 4))) {
      const std::uint8_t* listType = &head[8];
      const bool descend = level == Level::File
                               ? chunk.Is("RIFF") && (IsTag(listType, "AVI ") || IsTag(listType, "AVIX"))
                               : level == Level::Riff && chunk.Is("LIST") && IsTag(listType, "movi");
      const Level inner = level == Level::File ? Level::Riff : Level::Movi;
      if (descend && !Walk(chunk.payloadOffset + 4, chunk.payloadOffset + chunk.payloadSize, inner)) return false;
    } else if ((chunk.Is("gps0") || chunk.Is("gsen")) && level != Level::File) {
      m_bFound = true;
      if (!ReadRecords(chunk)) return false;
    }
    if (chunk.cut) {
      if (m_track.warning.empty()) m_track.warning = "chunk at byte " + std::to_string(at) + " runs past its list";
      return false;
    }
    at = chunk.payloadOffset + size + (size & 1);  // chunks are padded to an even size
  }
  return true;
}

// Appends the whole records of one telemetry chunk; false when it ends inside a record.
bool AviReader::ReadRecords(const Mp4Box& chunk) {
  const std::vector<std::uint8_t> bytes = ReadPayload(m_file, chunk, m_track.warning);
  const bool gps = chunk.Is("gps0");
  const std::size_t recordBytes = gps ? kGpsRecordBytes : kAccelRecordBytes;
  for (std::size_t at = 0; bytes.size() - at >= recordBytes; at += recordBytes) {
    const std::uint8_t* r = bytes.data() + at;
    if (gps) {
      m_track.gps.push_back(ReadGpsRecord(r, static_cast<std::uint32_t>(m_track.gps.size() * 1000)));
    } else {
      const auto axis = [r](int i) { return static_cast<std::int8_t>(r[i]) / kAccelCountsPerG; };
      m_track.accel.push_back({0, axis(0), axis(1), axis(2)});
    }
  }
  if (bytes.size() % recordBytes == 0 && bytes.size() == chunk.payloadSize) return true;
  if (m_track.warning.empty())
    m_track.warning = std::string(chunk.type.data(), 4) + " chunk at byte " + std::to_string(chunk.payloadOffset) +
                      " ends inside a record";
  return false;
}

// The G records carry no time: the camera writes them at a steady rate between its once-a-second GPS
// records, so that rate is their count over the GPS seconds.
void AviReader::TimeAccel() {
  const double perSecond =
      m_track.gps.empty() ? kAccelHzWithoutGps : double(m_track.accel.size()) / double(m_track.gps.size());
  for (std::size_t i = 0; i < m_track.accel.size(); ++i)
    m_track.accel[i].mediaMs = static_cast<std::uint32_t>(std::min(double(i) * 1000.0 / perSecond, kMaxMediaMs));
}

}  // namespace

TelemetryTrack ReadAviTelemetry(const ByteSource& file) { return AviReader(file).Read(); }

}  // namespace vx
