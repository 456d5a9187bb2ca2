// State of an opened recording and the transport rules that need no media framework.
#pragma once

#include <cstdint>

namespace vx {

enum class EngineState : int { Running = 0, Paused = 1, Stopped = 2, Closed = 3 };

// Media time inside the engine: signed 64-bit counts of 100 ns ("reference time").
using RefTime = std::int64_t;
inline constexpr RefTime kRefTimePerMs = 10'000;
inline constexpr double kRefTimePerSecond = 10'000.0 * 1000.0;
inline constexpr float kMinRate = 0.5f;
inline constexpr float kMaxRate = 2.0f;

// GStreamer counts nanoseconds; the engine counts 100 ns.
constexpr RefTime NsToRefTime(std::int64_t ns) { return ns / 100; }
constexpr std::int64_t RefTimeToNs(RefTime t) { return t * 100; }
constexpr std::int64_t RefTimeToMs(RefTime t) { return t / kRefTimePerMs; }

// Run accepts Paused and Stopped; Stop accepts Running and Paused.
constexpr bool CanRun(EngineState s) { return s == EngineState::Paused || s == EngineState::Stopped; }
constexpr bool CanStop(EngineState s) { return s == EngineState::Running || s == EngineState::Paused; }
// Skips only move a recording that is playing or paused.
constexpr bool CanSkip(EngineState s) { return CanStop(s); }

// The rate Run applies: exactly 1.0 stays, anything else is held to 0.5 .. 2.0 (NaN plays at 1.0).
float ClampRate(float rate);

// Target of a relative seek: truncated toward zero, never before 0 nor past `duration` (when known, > 0).
RefTime SkipTarget(RefTime position, double seconds, RefTime duration);

// "At the end": position and duration differ by less than one unit.
constexpr bool IsAtEnd(RefTime position, RefTime duration) {
  return position - duration < 1 && duration - position < 1;
}

}  // namespace vx
