// What the map page is told: the page of a language, the fix of a playback position, its coordinates in
// decimal degrees, and the call texts and track script that carry them, with numbers in the C locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/telemetry/CTextData.h"

namespace vx {

// "MapView.htm" (0), "MapView_En.htm", "MapView_Por.htm", "MapView_Ja.htm", "MapView_Tw.htm" (4); any other
// index gets the English page.
std::string_view MapPageFile(int languageIndex);

// The first fix whose time is at or after the position, scanning from the first (fixes need not be in time
// order); null when there is none.
const CGPSData* FixAtOrAfter(const CArray<CGPSData>& fixes, std::uint32_t positionMs);

// Stored ddmm.mmmm (negative south or west) to decimal degrees; the degrees are truncated toward zero, so
// -3730.5 gives -37.508333.
double NmeaToDegrees(double stored);

// "javascript:DrawCurrent('<longitude>', '<latitude>')" in decimal degrees with six decimals.
std::string DrawCurrentText(const CGPSData& fix);
// "javascript:DrawMotion('<speed km/h>', '<course degrees>')": what the marker shows beside the position.
std::string DrawMotionText(const CGPSData& fix);

// The call texts for a playback position, motion first: none when no fix lies at or after the position or
// the fix found is not valid (the page keeps the last position it was given).
struct MapPositionCalls {
  std::string motion;
  std::string position;
};
std::optional<MapPositionCalls> MapCallsForPosition(const CArray<CGPSData>& fixes, std::uint32_t positionMs);

// JavaScript handing the page every valid fix on the globe as [longitude, latitude, speed, course, media time ms] through
// its DrawTrack function, when the page defines one.
std::string DrawTrackJavaScript(const CArray<CGPSData>& fixes);

// A seek asked for by the page: a finite number of milliseconds from 0 to the duration, truncated to a whole
// millisecond; anything else, and any seek while no duration is known, is refused.
std::optional<std::int64_t> PageSeekTarget(double ms, std::int64_t durationMs);

}  // namespace vx
