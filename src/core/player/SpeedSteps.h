// The playback speed steps of the main window and the text of its speed label.
//
// The window keeps one step (kNormalSpeedStep at start, kept across recordings). The slower and faster
// buttons take NextSpeedStep; every recording started plays at SpeedRate(step) and the label reads
// SpeedLabel(step), so the label always names the rate the engine plays at.
#pragma once

#include <optional>
#include <string>

namespace vx {

inline constexpr int kNormalSpeedStep = 5;
// Step 2 plays at 0.5, the engine's slowest rate; a slower step would play no slower than it.
inline constexpr int kSlowestSpeedStep = 2;
inline constexpr int kFastestSpeedStep = 10;

enum class SpeedButton { Slower, Faster };

// The step after a press of `button`: one down or up within the steps, and no change unless playing.
int NextSpeedStep(int step, SpeedButton button, bool playing);

// Playback rate of a step: step x 0.2, and 0.5 at step 2.
float SpeedRate(int step);

// The step that plays at `rate` (0.5, 0.6, 0.8, 1.0, … 2.0), or nothing for a rate no step plays at.
std::optional<int> SpeedStepForRate(double rate);

// "X 1.0": the rate of the step with one decimal.
std::string SpeedLabel(int step);

}  // namespace vx
