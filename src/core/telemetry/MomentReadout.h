// What the telemetry says at one moment of a recording: speed, heading and G as the readout strip shows them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/telemetry/TelemetryTrack.h"

namespace vx {

enum class SpeedUnit { Kmh, Mph };

// The viewer's preferred unit; Card follows the card's setup.cfg (and the locale where there is none).
enum class SpeedUnitChoice { Card = 0, Kmh = 1, Mph = 2 };

// The locale variables of the process's environment; empty when unset.
struct LocaleVariables {
  std::string lcAll;
  std::string lcMeasurement;
  std::string lang;
};

// The unit speeds are shown in: the preference where it names one, else the card's bSpeedUnit (0 km/h,
// 1 mph; `cardSpeedUnit` is nothing without a setup.cfg), else the measurement locale's country.
SpeedUnit ChooseSpeedUnit(SpeedUnitChoice preference, std::optional<std::uint8_t> cardSpeedUnit,
                          const LocaleVariables& locale);

// The texts of one moment; kNoReading where the track has nothing near enough.
inline constexpr const char* kNoReading = "\u2014";
struct MomentReadout {
  std::string speed;    // "42 km/h", "26 mph"
  std::string heading;  // "NE 45°"
  std::string g;        // "0.53 g": the length of the acceleration
  std::string axes;     // "x 0.12  y -0.50  z 0.10"
};

// Speed and heading of the valid fix nearest `positionMs` within 2 s, G of the accelerometer sample
// nearest it within 0.5 s.
MomentReadout ReadoutAt(const TelemetryTrack& track, std::int64_t positionMs, SpeedUnit unit);

}  // namespace vx
