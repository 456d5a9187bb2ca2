// The Pittasoft `free` box after `moov`: stamped NMEA text in `gps ` and big-endian G records in `3gf `.
#include "LayoutWriters.h"

namespace vx::mkcard {
namespace {

// 10-byte records: the media time in ms (uint32), then the three axes (int16), all big-endian; the list ends
// with a record of 0xFF bytes. The camera counts 128 a g, four times the VX-880QN's 32.
constexpr int kCountsPerVxUnit = 4;
constexpr std::uint8_t kEndRecord[10] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

void PutBe16(std::vector<std::uint8_t>& out, int value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

// Each fix as "[UTC ms of the moment]$GPRMC,...": the stamp counts the media time on from the start.
std::vector<std::uint8_t> GpsText(const LayoutInput& input) {
  std::string text;
  for (const TelemetryRecord& record : input.records) {
    if (IsFix(record)) text += "[" + std::to_string(input.startUtcMs + record.timeMs) + "]" + NmeaSentence(record) + "\n";
  }
  return {text.begin(), text.end()};
}

std::vector<std::uint8_t> AccelRecords(std::span<const TelemetryRecord> records) {
  std::vector<std::uint8_t> out;
  for (const TelemetryRecord& record : records) {
    if (record.bytes.size() != 4 || record.bytes.front() != 'M') continue;
    PutBe32(out, record.timeMs);
    // A G record stores 128 minus each axis.
    for (int i = 1; i <= 3; ++i) PutBe16(out, (128 - record.bytes[i]) * kCountsPerVxUnit);
  }
  out.insert(out.end(), std::begin(kEndRecord), std::end(kEndRecord));
  return out;
}

}  // namespace

bool WritePittasoftLayout(const LayoutInput& input, std::string& error) {
  std::vector<std::uint8_t> parts = Mp4Box("gps ", GpsText(input));
  const std::vector<std::uint8_t> accel = Mp4Box("3gf ", AccelRecords(input.records));
  parts.insert(parts.end(), accel.begin(), accel.end());
  return WriteAt(input.path, std::nullopt, Mp4Box("free", parts), error);
}

}  // namespace vx::mkcard
