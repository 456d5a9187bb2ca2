// What the map page is told: the page of a language, the fix of a playback position, and the call texts and
// track script that carry its coordinates in decimal degrees, with numbers in the C locale.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/cardindex/RecordingSummary.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx {

// "MapView.htm" (0), "MapView_En.htm", "MapView_Por.htm", "MapView_Ja.htm", "MapView_Tw.htm" (4); any other
// index gets the English page.
std::string_view MapPageFile(int languageIndex);

// Whether any fix of the track is valid: only then has the recording a place to show.
bool HasValidFix(std::span<const GpsSample> fixes);

// The first fix whose media time is at or after the position, scanning from the first (fixes need not be in
// time order); null when there is none.
const GpsSample* FixAtOrAfter(std::span<const GpsSample> fixes, std::uint32_t positionMs);

// "javascript:DrawCurrent('<longitude>', '<latitude>')" in decimal degrees with six decimals.
std::string DrawCurrentText(const GpsSample& fix);
// "javascript:DrawMotion('<speed km/h>', '<heading degrees>')": what the marker shows beside the position; a
// fix without a heading points north.
std::string DrawMotionText(const GpsSample& fix);

// The call texts for a playback position, motion first: none when no fix lies at or after the position or
// the fix found is not valid (the page keeps the last position it was given).
struct MapPositionCalls {
  std::string motion;
  std::string position;
};
std::optional<MapPositionCalls> MapCallsForPosition(std::span<const GpsSample> fixes, std::uint32_t positionMs);

// JavaScript handing the page every valid fix on the globe as [longitude, latitude, speed, heading, media
// time ms] through its DrawTrack function, when the page defines one.
std::string DrawTrackJavaScript(std::span<const GpsSample> fixes);

// JavaScript handing the page each event placed on the globe as [longitude, latitude, "hard braking 0.60 g"]
// through its DrawEvents function, when the page defines one; events without a place are left out.
std::string DrawEventsJavaScript(std::span<const DetectedEvent> events);

// A seek asked for by the page: a finite number of milliseconds from 0 to the duration, truncated to a whole
// millisecond; anything else, and any seek while no duration is known, is refused.
std::optional<std::int64_t> PageSeekTarget(double ms, std::int64_t durationMs);

}  // namespace vx
