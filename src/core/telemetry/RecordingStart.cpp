// The start of a recording in UTC: the name's stamp shifted by the card's or the computer's zone.
#include "core/telemetry/RecordingStart.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "core/player/RecordingNames.h"
#include "core/settings/TimeZones.h"

namespace vx {
namespace {

constexpr int kFoldersAboveSearched = 3;

std::tm ToTm(const NameStamp& stamp) {
  std::tm tm{};
  tm.tm_year = stamp.year - 1900;
  tm.tm_mon = stamp.month - 1;
  tm.tm_mday = stamp.day;
  tm.tm_hour = stamp.hour;
  tm.tm_min = stamp.minute;
  tm.tm_sec = stamp.second;
  return tm;
}

}  // namespace

std::optional<SetupRecord> CardSetupRecord(const std::string& recordingPath) {
  std::filesystem::path folder = std::filesystem::path(recordingPath).parent_path();
  for (int level = 0; level <= kFoldersAboveSearched; ++level) {
    if (auto record = ReadSetupRecord(folder.empty() ? "." : folder.string())) return record;
    if (!folder.has_relative_path()) break;  // the root has no folder above it
    folder = folder.parent_path();
  }
  return std::nullopt;
}

std::optional<int> CardSetupZoneMinutes(const std::string& recordingPath) {
  const std::optional<SetupRecord> record = CardSetupRecord(recordingPath);
  if (!record) return std::nullopt;
  return ZoneOffsetMinutes(record->nTimeZone);
}

RecordingStart StampToUtc(const NameStamp& stamp, std::optional<int> setupZoneMinutes) {
  std::tm asUtc = ToTm(stamp);
  const std::int64_t wallAsUtc = timegm(&asUtc);
  if (setupZoneMinutes) return {wallAsUtc - *setupZoneMinutes * 60LL, {*setupZoneMinutes, true}};
  ::tzset();
  std::tm local = ToTm(stamp);
  local.tm_isdst = -1;  // let the zone's own rules say whether summer time held then
  const std::int64_t utc = std::mktime(&local);
  return {utc, {static_cast<int>((wallAsUtc - utc) / 60), false}};
}

std::optional<RecordingStart> RecordingStartOf(const std::string& path) {
  const std::optional<NameStamp> stamp = RecordingNameStamp(path);
  if (!stamp) return std::nullopt;
  return StampToUtc(*stamp, CardSetupZoneMinutes(path));
}

std::string NamingZoneText(const NamingZone& zone) {
  const int minutes = std::abs(zone.offsetMinutes);
  char text[48];
  std::snprintf(text, sizeof text, "UTC%c%02d:%02d, %s", zone.offsetMinutes < 0 ? '-' : '+', minutes / 60,
                minutes % 60, zone.fromSetupFile ? "setup.cfg" : "this computer's zone");
  return text;
}

}  // namespace vx
