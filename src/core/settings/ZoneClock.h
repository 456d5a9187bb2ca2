// The camera clock of the settings dialog: the current UTC time shifted into the selected zone.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace vx {

struct ZoneTime {
  int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  bool operator==(const ZoneTime&) const = default;
};

// The civil date and time `offsetMinutes` east of UTC at the UTC moment `utcSeconds` (proleptic Gregorian).
ZoneTime ZoneTimeAt(std::int64_t utcSeconds, int offsetMinutes);

// "YYYY-MM-DD, hh : mm : ss\r\n": 24 characters and a line break.
std::string ClockText(const ZoneTime& time);
inline constexpr std::size_t kClockTextLength = 24;
// What the clock box shows: the first 24 characters of the clock text, a blank and the zone's label.
std::string ClockDisplay(std::string_view clockText, std::string_view zoneLabel);

// Lets a clock text through only when it sorts after the previous one offered, which it then replaces
// either way: a zone further west is shown from its next forward step on, never a step back.
class ClockTextGate {
 public:
  bool Pass(const std::string& text);

 private:
  std::string m_strPrevious;
};

// The selected zone and the moment of the last tick, shared by the clock thread and the dialog. The six date
// and time fields are always computed from one zone and one moment under one lock, so a reader never sees a
// half-updated time.
class CZoneClock {
 public:
  explicit CZoneClock(int offsetMinutes = 0) : m_nOffsetMinutes(offsetMinutes) {}

  void SetOffsetMinutes(int offsetMinutes);
  int OffsetMinutes() const;
  struct Reading {
    std::string text;   // ClockText of the moment in the zone
    int offsetMinutes;  // the zone it was computed for
  };
  // Records the moment and reads it in the selected zone.
  Reading Tick(std::int64_t utcSeconds);
  // The last tick's moment in the zone selected now.
  ZoneTime Snapshot() const;

 private:
  mutable std::mutex m_mutex;
  int m_nOffsetMinutes;
  std::int64_t m_nUtcSeconds = 0;
};

}  // namespace vx
