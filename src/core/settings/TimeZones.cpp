// The camera's time-zone table and the computer's standard zone.
#include "core/settings/TimeZones.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace vx {
namespace {

constexpr TimeZoneEntry kZones[] = {
    {"(GMT-12:00) Eniwetok, kWajalein", -720},
    {"(GMT-11:00) Midway Island, Samoa", -660},
    {"(GMT-10:00) Hawaii", -600},
    {"(GMT-09:00) Alaska", -540},
    {"(GMT-08:00) Pacific Time (US & Canada), Tijuana", -480},
    {"(GMT-07:00) Mountain Time (US & Canada), Arizona", -420},
    {"(GMT-06:00) Central Time (US & Canada), Mexico City", -360},
    {"(GMT-05:00) Eastern Time (US & Canada), Bogota, Lima, Quito", -300},
    {"(GMT-04:00) Atlantic Time (Canada), Caracas, La Paz", -240},
    {"(GMT-03:30) Newfoundland", -210},
    {"(GMT-03:00) Brassila, Buenos Aires, Georgetown, Falkland Is", -180},
    {"(GMT-02:00) Mid-Atlantic, Ascension Is., St. Helena", -120},
    {"(GMT-01:00) Azores, Cape Verde Islands", -60},
    {"(GMT 00:00) Casablanca, Dublin, Edinburgh, London, Lisbon, Monrovia", 0},
    {"(GMT+01:00) Amsterdam, Berlin, Brussels, Madrid, Paris, Rome", 60},
    {"(GMT+02:00) Cairo, Helsinki, Kaliningrad, South Africa", 120},
    {"(GMT+03:00) Baghdad, Riyadh, Moscow, Nairobi", 180},
    {"(GMT+03:30) Tehran", 210},
    {"(GMT+04:00) Abu Dhabi, Baku, Muscat, Tbilisi", 240},
    {"(GMT+04:30) Kabul", 270},
    {"(GMT+05:00) Ekaterinburg, Islamabad, Karachi, Tashkent", 300},
    {"(GMT+05:30) Bombay, Calcutta, Madras, New Delhi", 330},
    {"(GMT+05:45) Katmandu", 345},
    {"(GMT+06:00) Almaty, Colombo, Dhaka, Novosibirsk", 360},
    {"(GMT+06:30) Rangoon", 390},
    {"(GMT+07:00) Bangkok, Hanoi, Jakarta", 420},
    {"(GMT+08:00) Beijing, Hong Kong, Perth, Singapore, Taipei", 480},
    {"(GMT+09:00) Osaka, Sapporo, Seoul, Tokyo, Yakutsk", 540},
    {"(GMT+09:30) Adelaide, Darwin", 570},
    {"(GMT+10:00) Canberra, Guam, Melbourne, Sydney, Vlaivostok", 600},
    {"(GMT+11:00) Magadan, New Caledonia, Solomon Islands", 660},
    {"(GMT+12:00) Auckland, Wellington, Fiji, Marshall Isalnd", 720},
};

// The moments tried when looking for standard time: a week apart, for a year, so that even a summer time of a
// few weeks is seen.
constexpr std::int64_t kProbeStepSeconds = 7LL * 24 * 3600;
constexpr int kProbeCount = 53;

}  // namespace

std::span<const TimeZoneEntry> TimeZoneTable() { return kZones; }

std::string_view ZoneLabel(const TimeZoneEntry& zone) { return zone.text.substr(0, kZoneLabelLength); }

std::int16_t ZoneQuarterHours(int offsetMinutes) { return static_cast<std::int16_t>(offsetMinutes / 15); }

int ZoneOffsetMinutes(std::int16_t quarterHours) { return quarterHours * 15; }

ComputerZone StandardComputerZone(std::int64_t utcSeconds) {
  ::tzset();
  // Summer time puts the clock forward, so standard time is the smallest offset of the year. The C library's
  // summer-time flag is not asked: zones such as Europe/Dublin flag their winter offset instead.
  std::optional<ComputerZone> zone;
  for (int i = 0; i < kProbeCount; ++i) {
    const auto moment = static_cast<std::time_t>(utcSeconds + i * kProbeStepSeconds);
    std::tm local{};
    if (::localtime_r(&moment, &local) == nullptr) break;
    const auto offsetMinutes = static_cast<int>(local.tm_gmtoff / 60);
    if (!zone || offsetMinutes < zone->offsetMinutes) {
      zone = ComputerZone{offsetMinutes, local.tm_zone != nullptr ? local.tm_zone : ""};
    }
  }
  return zone.value_or(ComputerZone{});
}

std::string ComputerZoneLabel(const ComputerZone& zone) {
  const int hours = zone.offsetMinutes / 60;
  const int minutes = std::abs(zone.offsetMinutes) % 60;
  const char sign = hours > 0 ? '+' : hours < 0 ? '-' : ' ';
  char label[32];
  std::snprintf(label, sizeof label, "(GMT%c%02d:%02d) ", sign, std::abs(hours), minutes);
  return label + zone.name;
}

std::optional<std::size_t> ZoneIndexOfLabel(std::string_view label) {
  const std::string_view wanted = label.substr(0, kZoneLabelLength);
  for (std::size_t i = 0; i < std::size(kZones); ++i) {
    if (ZoneLabel(kZones[i]) == wanted) return i;
  }
  return std::nullopt;
}

}  // namespace vx
