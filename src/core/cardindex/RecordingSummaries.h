// Works out the card index's record of one recording from its name, file and telemetry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/cardindex/EventDetector.h"
#include "core/cardindex/RecordingSummary.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx {

// The record of the recording at `path`. Its length is the one its container states; where the container
// states none, the last telemetry sample's time stands for it. A file that cannot be read, or that has
// neither a container header (MP4, AVI; a transport stream states none) nor telemetry, gets a problem text
// and what its name and file times still tell.
RecordingSummary SummarizeRecording(const std::string& path, const EventThresholds& thresholds = {});

// The part that depends only on the telemetry: duration, distance, speed, G, layout and events. The start
// is the name's (`nameStartUtcMs`), else the first fix's UTC, else `fileTimeUtcMs`.
void SummarizeTrack(RecordingSummary& summary, const TelemetryTrack& track, std::optional<std::int64_t> nameStartUtcMs,
                    std::int64_t fileTimeUtcMs, std::optional<std::uint32_t> containerDurationMs,
                    const EventThresholds& thresholds);

// Great-circle distance in metres between two places in degrees.
double HaversineMetres(double lat1, double lon1, double lat2, double lon2);

}  // namespace vx
