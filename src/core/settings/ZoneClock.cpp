// Zone time arithmetic on whole seconds and the shared clock state of the settings dialog.
#include "core/settings/ZoneClock.h"

#include <cstdio>

namespace vx {
namespace {

constexpr std::int64_t kSecondsPerDay = 24 * 3600;

// Floor division, so that moments before 1970 fall on the right day.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Year, month and day of the day `days` after 1 January 1970 in the Gregorian calendar (400-year eras).
void CivilFromDays(std::int64_t days, ZoneTime& time) {
  days += 719468;  // days from 1 March of year 0 to 1 January 1970
  const std::int64_t era = FloorDiv(days, 146097);
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
  time.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
  time.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  time.year = static_cast<int>(yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0));
}

}  // namespace

ZoneTime ZoneTimeAt(std::int64_t utcSeconds, int offsetMinutes) {
  const std::int64_t local = utcSeconds + std::int64_t{offsetMinutes} * 60;
  const std::int64_t days = FloorDiv(local, kSecondsPerDay);
  const std::int64_t secondOfDay = local - days * kSecondsPerDay;
  ZoneTime time;
  CivilFromDays(days, time);
  time.hour = static_cast<int>(secondOfDay / 3600);
  time.minute = static_cast<int>(secondOfDay / 60 % 60);
  time.second = static_cast<int>(secondOfDay % 60);
  return time;
}

std::string ClockText(const ZoneTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d, %02d : %02d : %02d\r\n", time.year, time.month, time.day,
                time.hour, time.minute, time.second);
  return text;
}

std::string ClockDisplay(std::string_view clockText, std::string_view zoneLabel) {
  std::string display(clockText.substr(0, kClockTextLength));
  display += ' ';
  display += zoneLabel;
  return display;
}

bool ClockTextGate::Pass(const std::string& text) {
  const bool forward = text > m_strPrevious;
  m_strPrevious = text;
  return forward;
}

void CZoneClock::SetOffsetMinutes(int offsetMinutes) {
  const std::lock_guard lock(m_mutex);
  m_nOffsetMinutes = offsetMinutes;
}

int CZoneClock::OffsetMinutes() const {
  const std::lock_guard lock(m_mutex);
  return m_nOffsetMinutes;
}

CZoneClock::Reading CZoneClock::Tick(std::int64_t utcSeconds) {
  const std::lock_guard lock(m_mutex);
  m_nUtcSeconds = utcSeconds;
  return {ClockText(ZoneTimeAt(m_nUtcSeconds, m_nOffsetMinutes)), m_nOffsetMinutes};
}

ZoneTime CZoneClock::Snapshot() const {
  const std::lock_guard lock(m_mutex);
  return ZoneTimeAt(m_nUtcSeconds, m_nOffsetMinutes);
}

}  // namespace vx
