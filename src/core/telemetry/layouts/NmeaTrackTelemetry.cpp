// NMEA text in the samples of an MP4 `text`/`tx3g` track, read through the shared RMC/GGA collector.
#include "core/telemetry/layouts/NmeaTrackTelemetry.h"

#include <limits>

#include "core/telemetry/layouts/Mp4Tracks.h"
#include "core/telemetry/layouts/NmeaFixes.h"

namespace vx {
namespace {

constexpr std::size_t kLengthBytes = 2;
constexpr std::size_t kMaxSampleBytes = kLengthBytes + 0xFFFF;  // what the 16-bit length can state

bool IsSentence(std::string_view line) { return line.starts_with('$') && !CheckedSentence(line).empty(); }

// Adds the fixes of one sample's text to `track`; false when the sample is damaged.
bool ReadSample(const ByteSource& file, const Mp4Sample& sample, TelemetryTrack& track, bool& sawSentence) {
  std::vector<std::uint8_t> bytes(std::min<std::size_t>(sample.size, kMaxSampleBytes));
  if (bytes.size() < kLengthBytes || !file.Read(sample.offset, bytes)) return false;
  const std::size_t length = (bytes[0] << 8) | bytes[1];
  if (length > bytes.size() - kLengthBytes) return false;
  NmeaFixCollector fixes;  // one a sample: its fixes count from the sample's own time
  const auto damageAt = ForEachTextLine(std::span(bytes).subspan(kLengthBytes, length), [&](std::string_view line) {
    sawSentence |= IsSentence(line);
    fixes.AddLine(line);
  });
  for (GpsSample& fix : fixes.TakeFixes()) {
    if (fix.mediaMs > std::numeric_limits<std::uint32_t>::max() - sample.startMs) break;
    fix.mediaMs += sample.startMs;
    track.gps.push_back(fix);
  }
  return !damageAt;
}

}  // namespace

TelemetryTrack ReadNmeaTrackTelemetry(const ByteSource& file) {
  const std::optional<Mp4Track> text = FindMp4Track(file, {"text", "tx3g"});
  if (!text) return {};
  TelemetryTrack track;
  std::string warning;
  bool sawSentence = false;
  const std::vector<Mp4Sample> samples = ReadMp4Samples(file, *text, warning);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (!ReadSample(file, samples[i], track, sawSentence)) {
      warning = "damaged text sample " + std::to_string(i) + " at byte " + std::to_string(samples[i].offset);
      break;
    }
  }
  if (!sawSentence) return {};
  track.layout = kNmeaTrackLayoutName;
  track.warning = warning;
  return track;
}

}  // namespace vx
