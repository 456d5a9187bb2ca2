// Texts of the time labels and the test for the end of a recording on the timeline tick.
//
// UpdateTimeLabels writes TimeText of the position and of the duration into labels 1014 and 1015 (and
// "00:00:00" when nothing is open); UpdateTimeline asks ReachedEnd before moving on to the next row.
#pragma once

#include <cstdint>
#include <string>

namespace vx {

// "hh:mm:ss" of a millisecond count, truncated to whole seconds; hours grow past two digits; negative
// counts read "00:00:00".
std::string TimeText(std::int64_t ms);
// "mm:ss.mmm" (from an hour on "h:mm:ss.mmm"): the position with its milliseconds, for a paused picture
// reached by frame steps. It keeps to about the width of "hh:mm:ss" in the same label.
std::string TimeTextWithMs(std::int64_t ms);

// The recording is over when the position has reached a known duration, or when the engine gives a
// negative position. A duration the engine does not know (0 or less) is never taken for the end.
bool ReachedEnd(std::int64_t positionMs, std::int64_t durationMs);

}  // namespace vx
