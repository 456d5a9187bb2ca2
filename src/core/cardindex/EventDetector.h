// Finds hard braking, hard acceleration, sharp turns and impacts in a recording's accelerometer samples.
#pragma once

#include <cstdint>
#include <vector>

#include "core/cardindex/RecordingSummary.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx {

// Limits in g after the samples are scaled so that their mean vector is 1 g. The driving limits sit above
// what ordinary town driving reaches (about 0.3 g braking, 0.25 g pulling away, 0.3 g in a bend) and below
// an emergency stop (0.6-0.9 g); an impact is a jump of the whole vector that no driving manoeuvre makes in
// a tenth of a second, while a pothole stays under about 1 g.
struct EventThresholds {
  double brakingG = 0.45;          // forward moving average below -brakingG
  double accelerationG = 0.35;     // forward moving average above +accelerationG
  double turnG = 0.45;             // lateral moving average beyond ±turnG
  double impactG = 1.5;            // |G(t) - G(t')| for t - t' within impactWindowMs
  std::uint32_t averageMs = 300;   // span of the moving averages
  std::uint32_t impactWindowMs = 100;
  std::uint32_t mergeMs = 1000;    // crossings closer than this are one episode
  bool operator==(const EventThresholds&) const = default;
};

struct GSensorFindings {
  std::vector<DetectedEvent> events;  // in media time order
  double maxG = 0.0;                  // largest |G| of the scaled samples
};

// Events of one recording. Samples that are not finite or whose time goes back are left out; the work
// grows linearly with the samples (times log n for sorting the fixes).
GSensorFindings DetectEvents(const TelemetryTrack& track, const EventThresholds& thresholds = {});

// The place of the valid fix nearest in time to `mediaMs`, written into `event`; nothing when none is valid.
void PlaceEvent(DetectedEvent& event, const std::vector<GpsSample>& fixes);

}  // namespace vx
