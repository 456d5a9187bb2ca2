// Garmin's GPS `uuid` box: its identifier, the 17 bytes after it, and big-endian 20-byte records.
#include "core/telemetry/layouts/GarminTelemetry.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "core/telemetry/layouts/FixFields.h"
#include "core/telemetry/layouts/Mp4Boxes.h"

namespace vx {
namespace {

constexpr std::array<std::uint8_t, 16> kGarminGpsUuid = {0x9b, 0x63, 0x0f, 0x8d, 0x63, 0x74, 0x40, 0xec,
                                                         0x82, 0x04, 0xbc, 0x5f, 0xf5, 0x09, 0x17, 0x28};
constexpr std::size_t kFirstRecord = 33;  // after the identifier and a 17-byte header not read here
constexpr std::size_t kRecordBytes = 20;
constexpr std::int64_t kSecondsFrom1904To1970 = 2082844800;
constexpr double kDegreesPerSemicircle = 180.0 / 2147483648.0;
constexpr double kKmhPerMph = 1.609344;

bool IsGarminGps(const ByteSource& file, const Mp4Box& box) {
  std::array<std::uint8_t, 16> id{};
  return box.Is("uuid") && box.payloadSize >= id.size() && file.Read(box.payloadOffset, id) && id == kGarminGpsUuid;
}

// Seconds since 1904, speed in mph (uint16), six bytes not read here, latitude and longitude as int32
// semicircles (2^31 = 180°).
GpsSample ReadRecord(const std::uint8_t* r, std::uint32_t mediaMs) {
  const auto degrees = [r](int at) { return static_cast<std::int32_t>(Be32(r + at)) * kDegreesPerSemicircle; };
  return CheckedFix(mediaMs, UnixUtcMs(std::int64_t{Be32(r)} - kSecondsFrom1904To1970), degrees(12), degrees(16),
                    Be16(r + 4) * kKmhPerMph);
}

}  // namespace

TelemetryTrack ReadGarminTelemetry(const ByteSource& file) {
  const auto moov = FindMp4Box(file, 0, file.Size(), "moov");
  if (!moov) return {};
  std::optional<Mp4Box> box;
  std::string ignored;  // damage among the other boxes of the movie header is the video's business
  WalkMp4Boxes(file, moov->payloadOffset, moov->payloadOffset + moov->payloadSize, [&](const Mp4Box& child) {
    if (IsGarminGps(file, child)) box = child;
    return !box;
  }, ignored);
  if (!box) return {};
  TelemetryTrack track;
  track.layout = kGarminLayoutName;
  const std::vector<std::uint8_t> bytes = ReadPayload(file, *box, track.warning);
  for (std::size_t at = kFirstRecord; at < bytes.size() && bytes.size() - at >= kRecordBytes; at += kRecordBytes)
    track.gps.push_back(ReadRecord(bytes.data() + at, static_cast<std::uint32_t>(track.gps.size() * 1000)));
  if (box->cut && track.warning.empty())
    track.warning = "Garmin GPS box at byte " + std::to_string(box->payloadOffset) + " cut short";
  return track;
}

}  // namespace vx
