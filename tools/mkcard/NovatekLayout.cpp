// Novatek freeGPS blocks of the accelerometer variant, one a second, found through a `gps ` index in `moov`.
#include <algorithm>
#include <bit>
#include <cmath>
#include <ctime>

#include "LayoutWriters.h"
#include "core/telemetry/layouts/Mp4Boxes.h"

namespace vx::mkcard {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Cameras write 16 KiB blocks; each is a box of type `free` whose payload starts "GPS ".
constexpr std::uint32_t kBlockSize = 0x4000;
// The accelerometer variant: six int32 of the fix's UTC time from 0x10 (hour, minute, second, year since
// 2000, month, day), the status and hemisphere letters at 0x28, floats from 0x2c (latitude and longitude as
// DDDMM.MMMM, knots, heading), then three int32 axes in 1/256 g from 0x3c. All little-endian.
constexpr std::size_t kTimeAt = 0x10, kStatusAt = 0x28, kFloatsAt = 0x2c, kAxesAt = 0x3c;
constexpr double kAxisUnitsPerG = 256.0;

void PutLe32(Bytes& block, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) block[at + i] = static_cast<std::uint8_t>(value >> 8 * i);
}

float DegreesMinutes(double degrees) {
  const double whole = std::floor(degrees);
  return static_cast<float>(whole * 100.0 + (degrees - whole) * 60.0);
}

// The block of one second: its fix (void when the camera had none) and the G-sensor at that moment.
Bytes Block(const GpsSample& fix, const AccelSample* accel, std::int64_t utcMs) {
  Bytes block;
  PutBe32(block, kBlockSize);
  for (const char c : std::string_view("freeGPS ")) block.push_back(static_cast<std::uint8_t>(c));
  block.resize(kBlockSize);
  const std::time_t seconds = utcMs / 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  const int time[] = {utc.tm_hour, utc.tm_min, utc.tm_sec, utc.tm_year - 100, utc.tm_mon + 1, utc.tm_mday};
  for (int i = 0; i < 6; ++i) PutLe32(block, kTimeAt + 4 * i, static_cast<std::uint32_t>(time[i]));
  block[kStatusAt] = fix.valid ? 'A' : 'V';
  if (fix.valid) {
    block[kStatusAt + 1] = fix.latitude < 0 ? 'S' : 'N';
    block[kStatusAt + 2] = fix.longitude < 0 ? 'W' : 'E';
    const float floats[] = {DegreesMinutes(std::abs(fix.latitude)), DegreesMinutes(std::abs(fix.longitude)),
                            static_cast<float>(fix.speedKmh / 1.852), static_cast<float>(fix.headingDeg.value_or(0))};
    for (int i = 0; i < 4; ++i) PutLe32(block, kFloatsAt + 4 * i, std::bit_cast<std::uint32_t>(floats[i]));
  }
  if (accel) {
    const double axes[] = {accel->x, accel->y, accel->z};
    for (int i = 0; i < 3; ++i) {
      PutLe32(block, kAxesAt + 4 * i, static_cast<std::uint32_t>(std::lround(axes[i] * kAxisUnitsPerG)));
    }
  }
  return block;
}

// The G-sensor sample taken when the fix was, if any (samples are in time order).
const AccelSample* AccelAt(const TelemetryTrack& track, std::uint32_t mediaMs) {
  const auto at = std::ranges::lower_bound(track.accel, mediaMs, {}, &AccelSample::mediaMs);
  return at != track.accel.end() && at->mediaMs == mediaMs ? &*at : nullptr;
}

// The `gps ` index: a zero word, the entry count, then each block's offset and size, all big-endian.
Bytes Index(std::uint64_t firstBlockAt, std::size_t blocks) {
  Bytes payload;
  PutBe32(payload, 0);
  PutBe32(payload, static_cast<std::uint32_t>(blocks));
  for (std::size_t i = 0; i < blocks; ++i) {
    PutBe32(payload, static_cast<std::uint32_t>(firstBlockAt + i * kBlockSize));
    PutBe32(payload, kBlockSize);
  }
  return Mp4Box("gps ", payload);
}

}  // namespace

// mp4mux writes `moov` last, after the media data, so it can grow without moving any sample: the index
// goes in right after `mvhd`, where cameras put it and where ExifTool looks for it, and the blocks follow
// `moov` in a top-level `free` box of their own.
bool WriteNovatekLayout(const LayoutInput& input, std::string& error) {
  const auto file = FileByteSource::Open(input.path, error);
  if (!file) return false;
  const auto moov = FindMp4Box(*file, 0, file->Size(), "moov");
  const auto mvhd = moov ? FindMp4Box(*file, moov->payloadOffset, moov->payloadOffset + moov->payloadSize, "mvhd")
                         : std::nullopt;
  if (!moov || !mvhd || moov->payloadOffset + moov->payloadSize != file->Size() ||
      mvhd->payloadOffset != moov->payloadOffset + 8) {
    error = "the MP4 file does not end with a moov box that starts with mvhd";
    return false;
  }
  Bytes rest(moov->payloadSize);
  if (!file->Read(moov->payloadOffset, rest)) {
    error = "cannot read the moov box back";
    return false;
  }
  const TelemetryTrack track = TrackOf(input.records);
  const std::uint64_t moovAt = moov->payloadOffset - 8;
  const std::uint64_t newMoovSize = 8 + rest.size() + 16 + 8 * track.gps.size();
  const std::uint64_t firstBlockAt = moovAt + newMoovSize + 8;
  if (firstBlockAt + track.gps.size() * kBlockSize > 0xFFFFFFFFull) {
    error = "the freeGPS index holds 32-bit offsets: the recording is too large for it";
    return false;
  }
  Bytes blocks;
  for (const GpsSample& fix : track.gps) {
    const Bytes block = Block(fix, AccelAt(track, fix.mediaMs), input.startUtcMs + fix.mediaMs);
    blocks.insert(blocks.end(), block.begin(), block.end());
  }
  const std::size_t mvhdSize = 8 + mvhd->payloadSize;
  const Bytes index = Index(firstBlockAt, track.gps.size());
  Bytes tail;
  PutBe32(tail, static_cast<std::uint32_t>(newMoovSize));
  for (const char c : std::string_view("moov")) tail.push_back(static_cast<std::uint8_t>(c));
  tail.insert(tail.end(), rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(mvhdSize));
  tail.insert(tail.end(), index.begin(), index.end());
  tail.insert(tail.end(), rest.begin() + static_cast<std::ptrdiff_t>(mvhdSize), rest.end());
  const Bytes holder = Mp4Box("free", blocks);
  tail.insert(tail.end(), holder.begin(), holder.end());
  return WriteAt(input.path, moovAt, tail, error);
}

}  // namespace vx::mkcard
