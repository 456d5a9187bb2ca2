// The little-endian 36-byte GPS records of 70mai cameras' top-level `GPS ` box.
#include "core/telemetry/layouts/SeventyMaiTelemetry.h"

#include <algorithm>
#include <vector>

#include "core/telemetry/layouts/FixFields.h"
#include "core/telemetry/layouts/Mp4Boxes.h"

namespace vx {
namespace {

constexpr std::size_t kRecordBytes = 36;
constexpr double kThousandths = 1e-3;

// Two words not read here, seconds since 1970, speed in 1/1000 km/h, the hemisphere letter and latitude in
// DDMM.MMM × 1000, the letter and longitude the same way, then ten bytes not read here.
GpsSample ReadRecord(const std::uint8_t* r, std::uint32_t mediaMs) {
  const char northSouth = static_cast<char>(r[16]), eastWest = static_cast<char>(r[21]);
  std::optional<double> latitude = DdmmDegrees(Le32(r + 17) * kThousandths);
  std::optional<double> longitude = DdmmDegrees(Le32(r + 22) * kThousandths);
  if (northSouth != 'N' && northSouth != 'S') latitude.reset();
  if (eastWest != 'E' && eastWest != 'W') longitude.reset();
  if (latitude && northSouth == 'S') *latitude = -*latitude;
  if (longitude && eastWest == 'W') *longitude = -*longitude;
  return CheckedFix(mediaMs, UnixUtcMs(Le32(r + 8)), latitude, longitude, Le32(r + 12) * kThousandths);
}

}  // namespace

TelemetryTrack ReadSeventyMaiTelemetry(const ByteSource& file) {
  const auto box = FindMp4Box(file, 0, file.Size(), "GPS ");
  if (!box) return {};
  TelemetryTrack track;
  track.layout = kSeventyMaiLayoutName;
  const std::vector<std::uint8_t> bytes = ReadPayload(file, *box, track.warning);
  std::size_t at = 0;
  for (; bytes.size() - at >= kRecordBytes; at += kRecordBytes) {
    const std::uint8_t* r = bytes.data() + at;
    if (std::all_of(r, r + kRecordBytes, [](std::uint8_t b) { return b == 0; })) return track;  // the padding
    track.gps.push_back(ReadRecord(r, static_cast<std::uint32_t>(track.gps.size() * 1000)));
  }
  if (track.warning.empty() && (box->cut || at < bytes.size()))
    track.warning = "70mai GPS box at byte " + std::to_string(box->payloadOffset) + " cut short";
  return track;
}

}  // namespace vx
