// Draining a telemetry source into records in file order, and the checks and conversions of one fix.
#include "core/telemetry/LogRecords.h"

#include <cmath>
#include <cstring>
#include <ctime>
#include <string_view>

#include "core/telemetry/RecordParser.h"

namespace vx {
namespace {

// The camera's clock runs this many hours ahead of UTC.
constexpr int kCameraUtcOffsetHours = 9;

// Whether the two-digit year, month and day name a day of the calendar (not 31 April, not month 13).
bool IsCalendarDay(int year, int month, int day) {
  if (year < 0 || year > 99 || month < 1 || month > 12 || day < 1 || day > 31) return false;
  std::tm tm{};
  tm.tm_year = (year + 30) % 100 + 70;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = 12;
  const std::time_t noon = timegm(&tm);
  std::tm back{};
  gmtime_r(&noon, &back);
  return back.tm_mon == month - 1 && back.tm_mday == day;
}

}  // namespace

std::vector<ParsedRecord> ReadAllRecords(ITelemetrySource& source) {
  std::vector<ParsedRecord> records;
  CTextData arrays;
  RecordBuffer buffer;
  for (;;) {
    buffer.fill(0);
    std::uint32_t time = 0, size = kRecordBufferSize;
    if (source.ReadRecord(buffer.data(), &size, &time) != S_OK) break;
    const std::size_t fixesBefore = arrays.m_arrGps.GetSize();
    const std::size_t samplesBefore = arrays.m_arrGSensor.GetSize();
    ParseRecord(time, buffer, arrays);
    if (arrays.m_arrGps.GetSize() > fixesBefore) {
      // The viewer keeps what a short text held; a map also needs to know whether it was whole.
      const auto* text = reinterpret_cast<const char*>(buffer.data());
      const bool complete = StatesWholeFix(std::string_view(text, strnlen(text, kRecordBufferSize - 1)));
      records.push_back({true, {}, arrays.m_arrGps[fixesBefore], complete});
    }
    if (arrays.m_arrGSensor.GetSize() > samplesBefore) {
      records.push_back({false, arrays.m_arrGSensor[samplesBefore], {}, false});
    }
  }
  return records;
}

std::optional<double> FixDegrees(double ddmm, double limit) {
  if (!std::isfinite(ddmm) || std::fmod(std::fabs(ddmm), 100.0) >= 60.0) return std::nullopt;
  const double degrees = std::round(ToDecimalDegrees(ddmm) * 1e6) / 1e6;
  if (std::fabs(degrees) > limit) return std::nullopt;
  return degrees;
}

bool IsUsableFix(const ParsedRecord& r) {
  if (!r.isGps || !r.complete || r.gps.valid != 1) return false;
  const CGPSData& g = r.gps;
  const bool timeInRange = g.hour >= kCameraUtcOffsetHours && g.hour <= kCameraUtcOffsetHours + 23 &&
                           g.minute >= 0 && g.minute <= 59 && g.second >= 0 && g.second <= 60 &&
                           IsCalendarDay(g.year, g.month, g.day);
  const auto longitude = FixDegrees(g.longitude, 180.0);
  return timeInRange && FixDegrees(g.latitude, 90.0) && longitude && *longitude < 180.0;
}

std::int64_t FixUtcSeconds(const CGPSData& fix) {
  std::tm tm{};
  tm.tm_year = (fix.year + 30) % 100 + 70;
  tm.tm_mon = fix.month - 1;
  tm.tm_mday = fix.day;
  // The camera adds its hours to the hour alone (24 and above stand for the next day on its clock) and keeps
  // the fix's date; timegm normalises whatever the fields hold.
  tm.tm_hour = fix.hour - kCameraUtcOffsetHours;
  tm.tm_min = fix.minute;
  tm.tm_sec = fix.second;
  return static_cast<std::int64_t>(timegm(&tm));
}

}  // namespace vx
