// The camera's 32 time zones, the computer's own zone, and the zone offset of the settings record.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vx {

struct TimeZoneEntry {
  std::string_view text;  // as the zone list shows it, e.g. "(GMT+09:00) Osaka, Sapporo, ..."
  int offsetMinutes;      // east of UTC
};

// The label of a zone is the first 11 characters of its entry, e.g. "(GMT+09:00)".
inline constexpr std::size_t kZoneLabelLength = 11;

// The 32 zones of the zone list, west to east.
std::span<const TimeZoneEntry> TimeZoneTable();
std::string_view ZoneLabel(const TimeZoneEntry& zone);

// The record's `nTimeZone` for an offset: quarter hours east of UTC, truncated toward zero.
std::int16_t ZoneQuarterHours(int offsetMinutes);
// The offset in minutes east of UTC that a record's `nTimeZone` stands for (4 more quarter hours with summer
// time saved). The main window shifts the dates of the catalogue by this while the settings dialog exists.
int ZoneOffsetMinutes(std::int16_t quarterHours);

// The computer's zone at standard time: its summer time is never counted.
struct ComputerZone {
  int offsetMinutes = 0;  // standard offset, east of UTC
  std::string name;       // the zone's abbreviation at standard time, e.g. "KST"
};
// The computer's zone (the C library's, after tzset) in the year from the UTC moment `utcSeconds`: the smallest
// offset it uses in that year, with that offset's abbreviation.
ComputerZone StandardComputerZone(std::int64_t utcSeconds);
// "(GMT+09:00) KST": hours and minutes of the offset, then the name ("GMT 00:00" for zero hours).
std::string ComputerZoneLabel(const ComputerZone& zone);

// Index of the table entry whose label equals the first 11 characters of label.
std::optional<std::size_t> ZoneIndexOfLabel(std::string_view label);

}  // namespace vx
