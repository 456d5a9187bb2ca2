// The Exif and GPS directories of a frame's moment in a TIFF structure.
#include "core/snapshot/ExifPayload.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "core/common/CivilDays.h"
#include "core/snapshot/TiffDirectory.h"

namespace vx {
namespace {

constexpr std::uint16_t kExifDirectoryTag = 0x8769;
constexpr std::uint16_t kGpsDirectoryTag = 0x8825;
constexpr std::int64_t kMsPerDay = 86'400'000;
// Far enough to hold every four-digit year, near enough that adding a zone offset cannot overflow.
constexpr std::int64_t kLargestTimeMs = 1'000'000'000'000'000;

// `value` in units of 1/`denominator`; nothing when it is not a number, negative or too large.
std::optional<Rational> Scaled(double value, std::uint32_t denominator) {
  const double units = std::round(value * denominator);
  if (!std::isfinite(units) || units < 0 || units > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  return Rational{static_cast<std::uint32_t>(units), denominator};
}

// Degrees, minutes and seconds to 1/10 000 of a second (a few millimetres), carried over whole units so that
// rounding never gives 60 seconds.
// `degrees` is at most 180 here.
std::vector<Rational> DegreesMinutesSeconds(double degrees) {
  constexpr std::uint64_t kPerSecond = 10'000;
  const auto units = static_cast<std::uint64_t>(std::llround(std::fabs(degrees) * 3600.0 * kPerSecond));
  return {{static_cast<std::uint32_t>(units / (3600 * kPerSecond)), 1},
          {static_cast<std::uint32_t>(units / (60 * kPerSecond) % 60), 1},
          {static_cast<std::uint32_t>(units % (60 * kPerSecond)), kPerSecond}};
}

struct CivilTime {
  CivilDate date;
  int msOfDay;
};

// Nothing for a moment whose year does not fit four digits.
std::optional<CivilTime> CivilTimeOf(std::int64_t ms) {
  const std::int64_t days = FloorDiv(ms, kMsPerDay);
  const CivilTime time{CivilFromDays(days), static_cast<int>(ms - days * kMsPerDay)};
  if (time.date.year < 1 || time.date.year > 9999) return std::nullopt;
  return time;
}

std::string DateText(const CivilDate& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d:%02d:%02d", static_cast<int>(date.year), date.month, date.day);
  return text;
}

std::vector<TiffEntry> ExifEntries(std::int64_t utcMs, int zoneOffsetMinutes) {
  const std::optional<CivilTime> local = CivilTimeOf(utcMs + zoneOffsetMinutes * 60'000LL);
  if (!local) return {};
  const int seconds = local->msOfDay / 1000;
  char time[16];
  std::snprintf(time, sizeof time, " %02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
  const long long offset = std::llabs(zoneOffsetMinutes);
  char zone[24];
  std::snprintf(zone, sizeof zone, "%c%02lld:%02lld", zoneOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
  char subSeconds[8];
  std::snprintf(subSeconds, sizeof subSeconds, "%03d", local->msOfDay % 1000);
  return {TiffBytes(0x9000, TiffType::Undefined, {'0', '2', '3', '2'}),  // ExifVersion
          TiffAscii(0x9003, DateText(local->date) + time),               // DateTimeOriginal
          TiffAscii(0x9011, zone),                                       // OffsetTimeOriginal
          TiffAscii(0x9291, subSeconds)};                                // SubSecTimeOriginal
}

void AddGpsTime(std::vector<TiffEntry>& entries, std::int64_t utcMs) {
  const std::optional<CivilTime> utc = CivilTimeOf(utcMs);
  if (!utc) return;
  const auto seconds = static_cast<std::uint32_t>(utc->msOfDay / 1000);
  entries.push_back(TiffRationals(0x0007, {{seconds / 3600, 1},  // GPSTimeStamp
                                       {seconds / 60 % 60, 1},
                                       {static_cast<std::uint32_t>(utc->msOfDay % 60'000), 1000}}));
  entries.push_back(TiffAscii(0x001D, DateText(utc->date)));  // GPSDateStamp
}

void AddPosition(std::vector<TiffEntry>& entries, const GpsSample& fix) {
  if (!std::isfinite(fix.latitude) || !std::isfinite(fix.longitude) || std::fabs(fix.latitude) > 90 ||
      std::fabs(fix.longitude) > 180) {
    return;
  }
  entries.push_back(TiffAscii(0x0001, fix.latitude < 0 ? "S" : "N"));  // GPSLatitudeRef
  entries.push_back(TiffRationals(0x0002, DegreesMinutesSeconds(fix.latitude)));
  entries.push_back(TiffAscii(0x0003, fix.longitude < 0 ? "W" : "E"));  // GPSLongitudeRef
  entries.push_back(TiffRationals(0x0004, DegreesMinutesSeconds(fix.longitude)));
  if (!fix.altitudeM) return;
  if (const std::optional<Rational> altitude = Scaled(std::fabs(*fix.altitudeM), 100)) {
    const std::uint8_t belowSeaLevel = *fix.altitudeM < 0 ? 1 : 0;
    entries.push_back(TiffBytes(0x0005, TiffType::Byte, {belowSeaLevel}));  // GPSAltitudeRef
    entries.push_back(TiffRationals(0x0006, {*altitude}));  // GPSAltitude, metres
  }
}

void AddMotion(std::vector<TiffEntry>& entries, const GpsSample& fix) {
  if (const std::optional<Rational> speed = Scaled(fix.speedKmh, 100)) {
    entries.push_back(TiffAscii(0x000C, "K"));  // GPSSpeedRef: km/h
    entries.push_back(TiffRationals(0x000D, {*speed}));
  }
  if (!fix.headingDeg) return;
  const double heading = std::fmod(*fix.headingDeg, 360.0);
  if (std::optional<Rational> track = Scaled(heading < 0 ? heading + 360.0 : heading, 100)) {
    track->numerator %= 36'000;  // 359.999 rounds to 360.00, which is 0
    entries.push_back(TiffAscii(0x000E, "T"));  // GPSTrackRef: true north
    entries.push_back(TiffRationals(0x000F, {*track}));
  }
}

std::vector<TiffEntry> GpsEntries(const GpsSample& fix, std::optional<std::int64_t> utcMs) {
  std::vector<TiffEntry> entries{TiffBytes(0x0000, TiffType::Byte, {2, 3, 0, 0})};  // GPSVersionID
  AddPosition(entries, fix);
  if (utcMs) AddGpsTime(entries, *utcMs);
  AddMotion(entries, fix);
  return entries;
}

}  // namespace

std::vector<std::uint8_t> ExifPayloadOf(const FrameMoment& moment) {
  const std::optional<std::int64_t> utcMs =
      moment.utcMs && *moment.utcMs >= -kLargestTimeMs && *moment.utcMs <= kLargestTimeMs ? moment.utcMs
                                                                                            : std::nullopt;
  const std::vector<TiffEntry> exif =
      utcMs ? ExifEntries(*utcMs, moment.zoneOffsetMinutes) : std::vector<TiffEntry>{};
  const std::vector<TiffEntry> gps = moment.fix ? GpsEntries(*moment.fix, utcMs) : std::vector<TiffEntry>{};
  if (exif.empty() && gps.empty()) return {};

  const std::size_t pointers = (exif.empty() ? 0 : 1) + (gps.empty() ? 0 : 1);
  const std::uint32_t exifOffset = kFirstDirectoryOffset + DirectoryHeadSize(pointers);
  const std::uint32_t gpsOffset = exifOffset + (exif.empty() ? 0 : DirectorySize(exif));
  std::vector<TiffEntry> first;
  if (!exif.empty()) first.push_back(TiffLong(kExifDirectoryTag, exifOffset));
  if (!gps.empty()) first.push_back(TiffLong(kGpsDirectoryTag, gpsOffset));

  std::vector<std::uint8_t> out{'E', 'x', 'i', 'f', 0, 0};
  PutTiffHeader(out);
  PutDirectory(out, first, kFirstDirectoryOffset);
  if (!exif.empty()) PutDirectory(out, exif, exifOffset);
  if (!gps.empty()) PutDirectory(out, gps, gpsOffset);
  return out;
}

}  // namespace vx
