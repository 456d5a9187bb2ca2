// Fills a recording's record: start from the name, a fix or the file; figures from the valid fixes and G samples.
#include "core/cardindex/RecordingSummaries.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "core/cardindex/ContainerDuration.h"
#include "core/player/RecordingNames.h"
#include "core/telemetry/RecordingStart.h"
#include "core/telemetry/TelemetryLayouts.h"

namespace vx {
namespace {

constexpr double kEarthRadiusM = 6371008.8;  // mean radius
constexpr double kPi = 3.14159265358979323846;

constexpr char kTransportSync = 0x47;

// An MPEG transport stream: its header states no playing time, yet it plays.
bool StartsAsTransportStream(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  char first = 0;
  return file.get(first) && first == kTransportSync;
}

bool IsPlaceable(const GpsSample& f) {
  return f.valid && std::isfinite(f.latitude) && std::isfinite(f.longitude) && std::fabs(f.latitude) <= 90 &&
         std::fabs(f.longitude) <= 180;
}

std::uint32_t LastSampleMs(const TelemetryTrack& track) {
  std::uint32_t last = 0;
  for (const AccelSample& a : track.accel) last = std::max(last, a.mediaMs);
  for (const GpsSample& f : track.gps) last = std::max(last, f.mediaMs);
  return last;
}

std::optional<std::int64_t> FirstFixUtcMs(const TelemetryTrack& track) {
  for (const GpsSample& f : track.gps) {
    if (IsPlaceable(f) && f.utcMs) return *f.utcMs - static_cast<std::int64_t>(f.mediaMs);
  }
  return std::nullopt;
}

}  // namespace

double HaversineMetres(double lat1, double lon1, double lat2, double lon2) {
  const auto rad = [](double deg) { return deg * kPi / 180.0; };
  const double dLat = rad(lat2 - lat1), dLon = rad(lon2 - lon1);
  const double a = std::pow(std::sin(dLat / 2), 2) + std::cos(rad(lat1)) * std::cos(rad(lat2)) * std::pow(std::sin(dLon / 2), 2);
  return 2 * kEarthRadiusM * std::asin(std::min(1.0, std::sqrt(a)));
}

void SummarizeTrack(RecordingSummary& summary, const TelemetryTrack& track, std::optional<std::int64_t> nameStartUtcMs,
                    std::int64_t fileTimeUtcMs, std::optional<std::uint32_t> containerDurationMs,
                    const EventThresholds& thresholds) {
  const std::optional<std::int64_t> fixStart = FirstFixUtcMs(track);
  summary.startSource = nameStartUtcMs ? RecordingSummary::StartSource::Name
                        : fixStart     ? RecordingSummary::StartSource::FirstFix
                                       : RecordingSummary::StartSource::FileTime;
  summary.startUtcMs = nameStartUtcMs.value_or(fixStart.value_or(fileTimeUtcMs));
  summary.durationMs = containerDurationMs.value_or(LastSampleMs(track));
  summary.layout = track.layout;
  const GpsSample* previous = nullptr;
  for (const GpsSample& f : track.gps) {
    if (!IsPlaceable(f)) continue;
    if (previous) summary.distanceM += HaversineMetres(previous->latitude, previous->longitude, f.latitude, f.longitude);
    if (std::isfinite(f.speedKmh)) summary.maxSpeedKmh = std::max(summary.maxSpeedKmh, f.speedKmh);
    previous = &f;
  }
  GSensorFindings findings = DetectEvents(track, thresholds);
  summary.maxG = findings.maxG;
  summary.events = std::move(findings.events);
  if (RecordingEventOf(summary.path) == u"Event") {
    DetectedEvent camera{DetectedEvent::Kind::CameraEvent, 0, 0.0, std::nullopt, std::nullopt};
    PlaceEvent(camera, track.gps);
    summary.events.insert(summary.events.begin(), camera);
  }
}

RecordingSummary SummarizeRecording(const std::string& path, const EventThresholds& thresholds) {
  RecordingSummary summary;
  summary.path = path;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    summary.problem = "cannot be read";
    return summary;
  }
  summary.sizeBytes = static_cast<std::uint64_t>(info.st_size);
  summary.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
  const TelemetryTrack track = ReadRecordingTelemetry(path);
  const std::optional<std::uint32_t> containerMs = ContainerDurationMs(path);
  if (track.layout.empty() && !track.warning.empty()) {
    summary.problem = track.warning;
  } else if (track.layout.empty() && !containerMs && !StartsAsTransportStream(path)) {
    // Nothing in it says it holds a recording: junk, or an MP4 cut before its movie header, which plays nothing.
    summary.problem = "no recording header and no telemetry";
  }
  std::optional<std::int64_t> nameStart;
  if (const auto start = RecordingStartOf(path)) nameStart = start->utcSeconds * 1000;
  SummarizeTrack(summary, track, nameStart, summary.modifiedNs / 1'000'000, containerMs, thresholds);
  return summary;
}

}  // namespace vx
