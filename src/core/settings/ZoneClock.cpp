// Zone time arithmetic on whole seconds and the shared clock state of the settings dialog.
#include "core/settings/ZoneClock.h"

#include <cstdio>

#include "core/common/CivilDays.h"

namespace vx {
namespace {

constexpr std::int64_t kSecondsPerDay = 24 * 3600;

}  // namespace

ZoneTime ZoneTimeAt(std::int64_t utcSeconds, int offsetMinutes) {
  const std::int64_t local = utcSeconds + std::int64_t{offsetMinutes} * 60;
  const std::int64_t days = FloorDiv(local, kSecondsPerDay);
  const auto secondOfDay = static_cast<int>(local - days * kSecondsPerDay);
  const CivilDate date = CivilFromDays(days);
  const int hour = secondOfDay / 3600;
  return {static_cast<int>(date.year), date.month, date.day, hour, secondOfDay / 60 % 60, secondOfDay % 60};
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
