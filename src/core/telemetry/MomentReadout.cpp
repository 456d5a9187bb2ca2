// Picks the samples nearest a moment and words them, and decides the speed unit.
#include "core/telemetry/MomentReadout.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "core/common/CFormat.h"

namespace vx {
namespace {

constexpr std::int64_t kFixReachMs = 2000;
constexpr std::int64_t kAccelReachMs = 500;
constexpr double kKmPerMile = 1.609344;
constexpr std::array<std::string_view, 4> kMileCountries = {"US", "GB", "LR", "MM"};
constexpr std::array<const char*, 8> kCompassPoints = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};

// The sample nearest `positionMs` among those `usable` accepts, within `reachMs`; the earlier one on a tie.
template <typename Sample, typename Usable>
const Sample* Nearest(const std::vector<Sample>& samples, std::int64_t positionMs, std::int64_t reachMs,
                      Usable usable) {
  const Sample* nearest = nullptr;
  std::int64_t nearestDistance = reachMs + 1;
  for (const Sample& sample : samples) {
    const std::int64_t distance = std::llabs(static_cast<std::int64_t>(sample.mediaMs) - positionMs);
    if (distance < nearestDistance && usable(sample)) {
      nearest = &sample;
      nearestDistance = distance;
    }
  }
  return nearest;
}

// The locale's country: "en_US.UTF-8" and "en_US@x" give "US"; "C", "POSIX" and "de" give nothing.
std::string_view Territory(std::string_view locale) {
  locale = locale.substr(0, locale.find_first_of(".@"));
  const auto underscore = locale.find('_');
  return underscore == std::string_view::npos ? std::string_view{} : locale.substr(underscore + 1);
}

// The locale that sets the measurement category, as the C library picks it.
const std::string& MeasurementLocale(const LocaleVariables& locale) {
  if (!locale.lcAll.empty()) return locale.lcAll;
  if (!locale.lcMeasurement.empty()) return locale.lcMeasurement;
  return locale.lang;
}

std::string SpeedText(double kmh, SpeedUnit unit) {
  if (unit == SpeedUnit::Mph) return FormatFixed(kmh / kKmPerMile, 0) + " mph";
  return FormatFixed(kmh, 0) + " km/h";
}

// Whole degrees from 0 to 359 after the compass point they lie nearest: 359.9 is "N 0°".
std::string HeadingText(double degrees) {
  const long whole = std::lround(degrees);
  const long point = std::lround(degrees / 45.0);
  return std::string(kCompassPoints[((point % 8) + 8) % 8]) + " " + std::to_string(((whole % 360) + 360) % 360) +
         "\u00b0";
}

std::string AxesText(const AccelSample& sample) {
  return "x " + FormatFixed(sample.x, 2) + "  y " + FormatFixed(sample.y, 2) + "  z " + FormatFixed(sample.z, 2);
}

}  // namespace

SpeedUnit ChooseSpeedUnit(SpeedUnitChoice preference, std::optional<std::uint8_t> cardSpeedUnit,
                          const LocaleVariables& locale) {
  if (preference == SpeedUnitChoice::Kmh) return SpeedUnit::Kmh;
  if (preference == SpeedUnitChoice::Mph) return SpeedUnit::Mph;
  if (cardSpeedUnit == 0) return SpeedUnit::Kmh;
  if (cardSpeedUnit == 1) return SpeedUnit::Mph;
  const std::string_view country = Territory(MeasurementLocale(locale));
  for (std::string_view mileCountry : kMileCountries) {
    if (country == mileCountry) return SpeedUnit::Mph;
  }
  return SpeedUnit::Kmh;
}

MomentReadout ReadoutAt(const TelemetryTrack& track, std::int64_t positionMs, SpeedUnit unit) {
  MomentReadout readout{kNoReading, kNoReading, kNoReading, kNoReading};
  if (const GpsSample* fix =
          Nearest(track.gps, positionMs, kFixReachMs, [](const GpsSample& sample) { return sample.valid; })) {
    readout.speed = SpeedText(fix->speedKmh, unit);
    if (fix->headingDeg) readout.heading = HeadingText(*fix->headingDeg);
  }
  if (const AccelSample* sample =
          Nearest(track.accel, positionMs, kAccelReachMs, [](const AccelSample&) { return true; })) {
    readout.g = FormatFixed(std::sqrt(sample->x * sample->x + sample->y * sample->y + sample->z * sample->z), 2) + " g";
    readout.axes = AxesText(*sample);
  }
  return readout;
}

}  // namespace vx
