// The readout of a moment: which samples are near enough, how they are worded, and which speed unit shows.
#include <gtest/gtest.h>

#include "core/telemetry/MomentReadout.h"

namespace vx {
namespace {

GpsSample Fix(std::uint32_t mediaMs, double kmh, std::optional<double> heading, bool valid = true) {
  GpsSample fix;
  fix.mediaMs = mediaMs;
  fix.valid = valid;
  fix.speedKmh = kmh;
  fix.headingDeg = heading;
  return fix;
}

TEST(MomentReadout, NearestSamplesWithinReachAreWorded) {
  TelemetryTrack track;
  track.gps = {Fix(1000, 42.4, 45.0), Fix(5000, 99.0, 90.0, false), Fix(9000, 50.0, 359.9),  // 359.9 is N
               Fix(12000, 80.6, std::nullopt), Fix(20000, 0.0, 0.0)};
  track.accel = {{1000, 0.3, -0.4, 0.1}, {3000, 0.0, 0.0, 1.0}};
  const std::string dash = kNoReading;
  const struct {
    std::int64_t positionMs;
    SpeedUnit unit;
    MomentReadout expected;
  } cases[] = {
      {1000, SpeedUnit::Kmh, {"42 km/h", "NE 45°", "0.51 g", "x 0.30  y -0.40  z 0.10"}},
      {1000, SpeedUnit::Mph, {"26 mph", "NE 45°", "0.51 g", "x 0.30  y -0.40  z 0.10"}},
      {1500, SpeedUnit::Kmh, {"42 km/h", "NE 45°", "0.51 g", "x 0.30  y -0.40  z 0.10"}},  // G at 0.5 s
      {1501, SpeedUnit::Kmh, {"42 km/h", "NE 45°", dash, dash}},                        // G beyond 0.5 s
      {3000, SpeedUnit::Kmh, {"42 km/h", "NE 45°", "1.00 g", "x 0.00  y 0.00  z 1.00"}},  // fix at 2 s
      {5000, SpeedUnit::Kmh, {dash, dash, dash, dash}},  // only an invalid fix within 2 s
      {7100, SpeedUnit::Kmh, {"50 km/h", "N 0°", dash, dash}},  // the valid one past the invalid
      {12000, SpeedUnit::Kmh, {"81 km/h", dash, dash, dash}},   // a fix without a heading
      {20000, SpeedUnit::Kmh, {"0 km/h", "N 0°", dash, dash}},
      {-500, SpeedUnit::Kmh, {"42 km/h", "NE 45°", dash, dash}},
  };
  for (const auto& c : cases) {
    const MomentReadout readout = ReadoutAt(track, c.positionMs, c.unit);
    EXPECT_EQ(readout.speed, c.expected.speed) << c.positionMs;
    EXPECT_EQ(readout.heading, c.expected.heading) << c.positionMs;
    EXPECT_EQ(readout.g, c.expected.g) << c.positionMs;
    EXPECT_EQ(readout.axes, c.expected.axes) << c.positionMs;
  }
  const MomentReadout none = ReadoutAt(TelemetryTrack{}, 0, SpeedUnit::Kmh);
  EXPECT_EQ(none.speed + none.heading + none.g + none.axes, dash + dash + dash + dash);
}

TEST(MomentReadout, UnitIsThePreferenceElseTheCardsElseTheLocales) {
  using C = SpeedUnitChoice;
  const LocaleVariables us{"", "", "en_US.UTF-8"};
  const struct {
    SpeedUnitChoice preference;
    std::optional<std::uint8_t> card;
    LocaleVariables locale;
    SpeedUnit expected;
  } cases[] = {
      {C::Kmh, 1, us, SpeedUnit::Kmh},
      {C::Mph, 0, {}, SpeedUnit::Mph},
      {C::Card, 0, us, SpeedUnit::Kmh},
      {C::Card, 1, {"", "", "de_DE.UTF-8"}, SpeedUnit::Mph},
      {C::Card, 7, us, SpeedUnit::Mph},  // a unit the card does not name leaves it to the locale
      {C::Card, std::nullopt, us, SpeedUnit::Mph},
      {C::Card, std::nullopt, {"", "", "en_LR.UTF-8"}, SpeedUnit::Mph},
      {C::Card, std::nullopt, {"", "", "my_MM"}, SpeedUnit::Mph},
      {C::Card, std::nullopt, {"", "", "en_AU.UTF-8"}, SpeedUnit::Kmh},
      {C::Card, std::nullopt, {"", "", "C"}, SpeedUnit::Kmh},
      {C::Card, std::nullopt, {"", "en_US.UTF-8", "de_DE.UTF-8"}, SpeedUnit::Mph},  // LC_MEASUREMENT over LANG
      {C::Card, std::nullopt, {"fr_FR.UTF-8", "en_US.UTF-8", "en_US"}, SpeedUnit::Kmh},  // LC_ALL over both
      {C::Card, std::nullopt, {"", "", "en_GB@euro"}, SpeedUnit::Mph},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseSpeedUnit(c.preference, c.card, c.locale), c.expected)
        << static_cast<int>(c.preference) << " card " << (c.card ? int(*c.card) : -1) << " " << c.locale.lcAll << "/"
        << c.locale.lcMeasurement << "/" << c.locale.lang;
  }
}

}  // namespace
}  // namespace vx
