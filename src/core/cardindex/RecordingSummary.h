// What the card index knows of one recording, worked out once from its container and telemetry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx {

// A moment of the drive worth finding again, from the G samples or from the camera's own event recording.
struct DetectedEvent {
  enum class Kind { HardBraking, HardAcceleration, SharpTurn, Impact, CameraEvent };
  Kind kind = Kind::Impact;
  std::uint32_t mediaMs = 0;   // in the recording
  double peakG = 0.0;          // the strength that crossed the threshold, in g
  std::optional<double> latitude = std::nullopt;  // of the fix nearest in time, when there is one
  std::optional<double> longitude = std::nullopt;
};

struct RecordingSummary {
  enum class StartSource { Name, FirstFix, FileTime };
  std::string path;                  // as the file system gives it (bytes)
  std::uint64_t sizeBytes = 0;       // with the modification time, what tells a changed file
  std::int64_t modifiedNs = 0;
  std::int64_t startUtcMs = 0;
  StartSource startSource = StartSource::FileTime;
  std::uint32_t durationMs = 0;
  double distanceM = 0.0;            // along the valid fixes
  double maxSpeedKmh = 0.0;
  double maxG = 0.0;                 // largest |G| of the samples, in g after scaling
  std::string layout;                // the telemetry layout read; empty when none
  std::vector<DetectedEvent> events;
  std::string problem;               // why the recording could not be read; empty when it could
};

}  // namespace vx
