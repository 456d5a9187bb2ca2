// Events found in G curves: each case is a drive at 10 Hz with one shape added, in the camera's own units.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "core/cardindex/EventDetector.h"

namespace vx {
namespace {

using Kind = DetectedEvent::Kind;

// Forward and lateral G of the car at a moment (ms).
double Level(std::uint32_t) { return 0.0; }

struct Shape {
  std::function<double(std::uint32_t)> forward = Level;
  std::function<double(std::uint32_t)> lateral = Level;
};

struct Case {
  const char* name;
  Shape shape;
  double unitsPerG = 1.0;     // a camera that writes another scale
  bool withFixes = true;
  std::vector<Kind> expected;
  std::uint32_t firstFromMs = 0;  // the first event's peak lies in the shape's 2 s from here
};

double Pulse(std::uint32_t ms, std::uint32_t from, std::uint32_t to, double g) { return ms >= from && ms < to ? g : 0.0; }

// 20 s of driving: camera x across, y along, z up; small deterministic road noise. Speed fixes at 1 Hz follow
// the forward G. The car also speeds up and slows down gently so that the forward axis can be found.
TelemetryTrack Drive(const Case& c) {
  TelemetryTrack track;
  double speedKmh = 50.0;
  for (std::uint32_t ms = 0; ms < 20000; ms += 100) {
    const double gentle = 0.15 * std::sin(ms / 2000.0);
    const double forward = gentle + c.shape.forward(ms);
    const double noise = 0.03 * std::sin(ms * 0.37);
    track.accel.push_back({ms, (c.shape.lateral(ms) + noise) * c.unitsPerG, (forward - noise) * c.unitsPerG,
                           (1.0 + noise) * c.unitsPerG});
    if (c.withFixes && ms % 1000 == 0) {
      track.gps.push_back({ms, {}, true, 37.5 + ms * 1e-7, 127.0, {}, speedKmh, {}});
    }
    speedKmh += forward * 9.80665 * 3.6 * 0.1;
  }
  return track;
}

std::vector<Kind> Kinds(const std::vector<DetectedEvent>& events) {
  std::vector<Kind> kinds;
  for (const DetectedEvent& e : events) kinds.push_back(e.kind);
  return kinds;
}

TEST(EventDetector, FindsOneEventPerEpisodeOfEachKind) {
  const auto brake = [](std::uint32_t ms) { return Pulse(ms, 8000, 10000, -0.7); };
  const auto crash = [](std::uint32_t ms) { return Pulse(ms, 12000, 12100, -3.0) + Pulse(ms, 12100, 12200, -1.0); };
  const Case cases[] = {
      {"quiet drive", {}, 1.0, true, {}},
      {"braking", {brake, Level}, 1.0, true, {Kind::HardBraking}, 8000},
      {"braking in 32 units per g", {brake, Level}, 32.0, true, {Kind::HardBraking}, 8000},
      {"braking without fixes: y is forward", {brake, Level}, 1.0, false, {Kind::HardBraking}, 8000},
      {"pulling away", {[](std::uint32_t ms) { return Pulse(ms, 5000, 6000, 0.5); }, Level}, 1.0, true,
       {Kind::HardAcceleration}, 5000},
      {"bend both ways", {Level, [](std::uint32_t ms) { return Pulse(ms, 4000, 5000, 0.6) - Pulse(ms, 5000, 6000, 0.6); }},
       1.0, true, {Kind::SharpTurn}, 4000},
      {"two bends far apart", {Level, [](std::uint32_t ms) { return Pulse(ms, 4000, 5000, 0.6) + Pulse(ms, 9000, 10000, -0.6); }},
       1.0, true, {Kind::SharpTurn, Kind::SharpTurn}, 4000},
      {"crash: the impact's surge is no braking", {crash, Level}, 1.0, true, {Kind::Impact}, 12000},
      {"braking into a crash", {[&](std::uint32_t ms) { return brake(ms) + crash(ms - 2000); }, Level}, 1.0, true,
       {Kind::HardBraking, Kind::Impact}, 8000},
      {"single-sample bump under the limits", {[](std::uint32_t ms) { return Pulse(ms, 7000, 7100, -0.9); }, Level}, 1.0,
       true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const GSensorFindings found = DetectEvents(Drive(c));
    EXPECT_EQ(Kinds(found.events), c.expected);
    if (found.events.empty()) continue;
    EXPECT_GE(found.events.front().mediaMs, c.firstFromMs);
    EXPECT_LE(found.events.front().mediaMs, c.firstFromMs + 2000);
    EXPECT_EQ(found.events.front().latitude.has_value(), c.withFixes);
  }
}

TEST(EventDetector, ScalesToOneGAndReportsThePeak) {
  Case crash{"crash", {[](std::uint32_t ms) { return Pulse(ms, 12000, 12100, -3.0); }, Level}, 32.0, true, {}};
  const GSensorFindings found = DetectEvents(Drive(crash));
  ASSERT_EQ(found.events.size(), 1u);
  EXPECT_NEAR(found.events[0].peakG, 3.0, 0.2);
  EXPECT_NEAR(found.maxG, std::hypot(3.0, 1.0), 0.2);
  EXPECT_NEAR(*found.events[0].latitude, 37.5 + 12000 * 1e-7, 1e-9);
}

TEST(EventDetector, DamagedInputGivesBoundedAnswers) {
  EXPECT_TRUE(DetectEvents({}).events.empty());
  TelemetryTrack zeros;
  zeros.accel.assign(50, {0, 0.0, 0.0, 0.0});
  EXPECT_TRUE(DetectEvents(zeros).events.empty());

  // Samples crowded into one millisecond, NaNs among them, then a clock that jumps back to 0: the
  // jumped-back samples are left out instead of being read as jolts.
  TelemetryTrack damaged;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (std::uint32_t ms = 0; ms < 10000; ms += 100) damaged.accel.push_back({ms, 0.0, 0.0, 1.0});
  for (int i = 0; i < 20000; ++i) damaged.accel.push_back({9900, 0.0, i % 7 == 0 ? nan : 0.0, 1.0});
  for (std::uint32_t ms = 0; ms < 5000; ms += 100) damaged.accel.push_back({ms, 0.0, 0.0, ms % 200 ? 1.0 : 3.0});
  const GSensorFindings found = DetectEvents(damaged);
  EXPECT_TRUE(found.events.empty());
  EXPECT_NEAR(found.maxG, 1.0, 1e-9);
}

}  // namespace
}  // namespace vx
