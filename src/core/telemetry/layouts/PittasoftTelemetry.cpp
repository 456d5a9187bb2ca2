// The `free` box search, the stamped NMEA text and the big-endian G records of Pittasoft-style cameras.
#include "core/telemetry/layouts/PittasoftTelemetry.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/telemetry/CNumber.h"
#include "core/telemetry/layouts/Mp4Boxes.h"
#include "core/telemetry/layouts/NmeaFixes.h"

namespace vx {
namespace {

constexpr std::size_t kAccelRecordSize = 10;  // u32 ms, then x, y, z as int16
constexpr std::uint32_t kAccelEnd = 0xFFFFFFFF;

void Warn(TelemetryTrack& track, std::string line) {
  if (track.warning.empty()) track.warning = std::move(line);  // the first damage is where reading stopped
}

std::string At(std::size_t offset) { return " at byte " + std::to_string(offset); }

// "[1718200000000]$GPRMC,...": the stamp in milliseconds since 1970, and the rest of the line.
std::optional<std::int64_t> TakeStamp(std::string_view& line) {
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos || close < 2 || close > 20) return std::nullopt;
  const std::string_view digits = line.substr(1, close - 1);
  if (digits.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  line.remove_prefix(close + 1);
  return static_cast<std::int64_t>(ParseCDouble(digits));
}

// Counts per g from the data itself: the median length of the G vectors, which is gravity alone while the
// car is at rest or moving steadily. The scale differs between cameras, so it is not fixed here.
double CountsPerG(const std::vector<AccelSample>& raw) {
  std::vector<double> lengths;
  for (const AccelSample& s : raw) {
    const double length = std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z);
    if (length > 0.0) lengths.push_back(length);
  }
  if (lengths.empty()) return 0.0;
  std::nth_element(lengths.begin(), lengths.begin() + lengths.size() / 2, lengths.end());
  return lengths[lengths.size() / 2];
}

std::int16_t Be16(const std::uint8_t* p) { return static_cast<std::int16_t>((p[0] << 8) | p[1]); }
std::uint32_t Be32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// Whether a top-level `free` box holds Pittasoft parts: its payload starts with one of their boxes.
bool IsPittasoftFree(const ByteSource& file, const Mp4Box& box) {
  std::array<std::uint8_t, 8> head{};
  if (!box.Is("free") || box.payloadSize < head.size() || !file.Read(box.payloadOffset, head)) return false;
  const std::string_view type(reinterpret_cast<const char*>(head.data() + 4), 4);
  for (const char* known : {"cprt", "sttm", "ptnm", "ptrh", "thum", "gps ", "3gf "}) {
    if (type == known) return true;
  }
  return false;
}

bool ReadFreeBox(const ByteSource& file, TelemetryTrack& track) {
  std::optional<Mp4Box> free;
  std::string ignored;  // damage among the other top-level boxes is the video's business, not ours
  WalkMp4Boxes(file, 0, file.Size(), [&](const Mp4Box& box) {
    if (IsPittasoftFree(file, box)) free = box;
    return !free;
  }, ignored);
  if (!free) return false;
  track.layout = "Pittasoft free box";
  if (free->cut) Warn(track, "free box cut short" + At(free->payloadOffset));
  std::string warning;
  WalkMp4Boxes(file, free->payloadOffset, free->payloadOffset + free->payloadSize, [&](const Mp4Box& part) {
    if (part.Is("gps ")) ReadPittasoftGpsText(ReadPayload(file, part, warning), part.cut, track);
    if (part.Is("3gf ")) ReadPittasoftAccel(ReadPayload(file, part, warning), part.cut, track);
    return true;
  }, warning);
  if (!warning.empty()) Warn(track, warning);
  return true;
}

bool ReadSideFiles(const SideFiles& side, TelemetryTrack& track) {
  const std::unique_ptr<ByteSource> gps = side ? side(".gps") : nullptr;
  const std::unique_ptr<ByteSource> accel = side ? side(".3gf") : nullptr;
  if (!gps && !accel) return false;
  track.layout = "Pittasoft side files";
  std::string warning;
  if (gps) ReadPittasoftGpsText(ReadWhole(*gps, warning), false, track);
  if (accel) ReadPittasoftAccel(ReadWhole(*accel, warning), false, track);
  if (!warning.empty()) Warn(track, warning);
  return true;
}

}  // namespace

void ReadPittasoftGpsText(std::span<const std::uint8_t> bytes, bool cut, TelemetryTrack& track) {
  NmeaFixCollector fixes;
  const auto damageAt = ForEachTextLine(bytes, [&](std::string_view line) {
    const std::optional<std::int64_t> stamp = TakeStamp(line);
    fixes.AddLine(line, stamp);
  });
  if (damageAt) Warn(track, "damaged GPS text" + At(*damageAt));
  if (cut) Warn(track, "GPS text cut short");
  track.gps = fixes.TakeFixes();
}

void ReadPittasoftAccel(std::span<const std::uint8_t> bytes, bool cut, TelemetryTrack& track) {
  std::vector<AccelSample> raw;
  std::size_t at = 0;
  bool ended = false;
  for (; bytes.size() - at >= 4; at += kAccelRecordSize) {
    const std::uint32_t ms = Be32(bytes.data() + at);
    if (ms == kAccelEnd) {
      ended = true;
      break;
    }
    if (bytes.size() - at < kAccelRecordSize || (!raw.empty() && ms < raw.back().mediaMs)) break;
    const std::uint8_t* axes = bytes.data() + at + 4;
    raw.push_back({ms, double(Be16(axes)), double(Be16(axes + 2)), double(Be16(axes + 4))});
  }
  if (!ended) Warn(track, cut ? "G records cut short" : "G records damaged or cut" + At(at));
  const double scale = CountsPerG(raw);
  if (scale <= 0.0) return;
  for (AccelSample& s : raw) {
    s.x /= scale;
    s.y /= scale;
    s.z /= scale;
  }
  track.accel = std::move(raw);
}

TelemetryTrack ReadPittasoftTelemetry(const ByteSource& file, const SideFiles& side) {
  TelemetryTrack track;
  if (!ReadFreeBox(file, track)) ReadSideFiles(side, track);
  return track;
}

}  // namespace vx
