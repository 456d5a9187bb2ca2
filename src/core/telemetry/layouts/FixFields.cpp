// Calendar and range checks shared by the readers of binary GPS records.
#include "core/telemetry/layouts/FixFields.h"

#include <chrono>
#include <cmath>

namespace vx {
namespace {

constexpr double kMaxSpeedKmh = 600.0;
constexpr std::int64_t kFirstPlausibleSecond = 946684800;  // 2000-01-01
constexpr std::int64_t kLastPlausibleSecond = 7258118400;  // 2200-01-01

}  // namespace

std::optional<std::int64_t> CalendarUtcMs(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                                          unsigned second) {
  if (year < 2000 || year > 2200 || hour > 23 || minute > 59 || second > 59) return std::nullopt;
  using namespace std::chrono;
  const year_month_day date{std::chrono::year(static_cast<int>(year)), std::chrono::month(month),
                            std::chrono::day(day)};
  if (!date.ok()) return std::nullopt;
  const auto time = sys_days(date) + hours(hour) + minutes(minute) + seconds(second);
  return duration_cast<milliseconds>(time.time_since_epoch()).count();
}

std::optional<std::int64_t> UnixUtcMs(std::int64_t seconds) {
  if (seconds < kFirstPlausibleSecond || seconds >= kLastPlausibleSecond) return std::nullopt;
  return seconds * 1000;
}

std::optional<double> DdmmDegrees(double ddmm) {
  if (!std::isfinite(ddmm)) return std::nullopt;
  const double degrees = std::trunc(std::abs(ddmm) / 100.0);
  const double minutes = std::abs(ddmm) - degrees * 100.0;
  if (minutes >= 60.0) return std::nullopt;
  return std::copysign(degrees + minutes / 60.0, ddmm);
}

GpsSample CheckedFix(std::uint32_t mediaMs, std::optional<std::int64_t> utcMs, std::optional<double> latitude,
                     std::optional<double> longitude, double speedKmh) {
  GpsSample fix;
  fix.mediaMs = mediaMs;
  fix.utcMs = utcMs;
  if (!utcMs || !latitude || !longitude || !(std::abs(*latitude) <= 90.0) || !(std::abs(*longitude) <= 180.0) ||
      (*latitude == 0.0 && *longitude == 0.0) || !(speedKmh >= 0.0 && speedKmh <= kMaxSpeedKmh)) {
    return fix;
  }
  fix.valid = true;
  fix.latitude = *latitude;
  fix.longitude = *longitude;
  fix.speedKmh = speedKmh;
  return fix;
}

}  // namespace vx
