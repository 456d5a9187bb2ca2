// Record dispatch, G-sensor decoding and the RMC field grammar.
#include "core/telemetry/RecordParser.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "core/telemetry/CNumber.h"

namespace vx {
namespace {

constexpr std::size_t kMaxGpsText = kRecordBufferSize - 1;

// Splits text at commas: leading commas are skipped once, then every comma ends a field.
class FieldCursor {
 public:
  explicit FieldCursor(std::string_view text) : m_rest(text) {
    while (!m_rest.empty() && m_rest.front() == ',') m_rest.remove_prefix(1);
    m_bHasField = true;
  }

  // Takes the current field; false when the text has run out of fields.
  bool Next(std::string_view& field) {
    if (!m_bHasField) return false;
    const std::size_t comma = m_rest.find(',');
    field = m_rest.substr(0, comma);
    if (comma == std::string_view::npos) {
      m_bHasField = false;
    } else {
      m_rest.remove_prefix(comma + 1);
    }
    return true;
  }

 private:
  std::string_view m_rest;
  bool m_bHasField = false;
};

// Reads characters 0-1, 2-3 and 4-5 of a field as three numbers; a group past the end gives 0.
void ReadTriplet(std::string_view field, std::int32_t& a, std::int32_t& b, std::int32_t& c) {
  auto group = [&](std::size_t at) {
    return at < field.size() ? ParseCInt(field.substr(at, 2)) : 0;
  };
  a = group(0);
  b = group(2);
  c = group(4);
}

double SinglePrecision(double value) { return static_cast<double>(static_cast<float>(value)); }

// Seconds since 1970 of a broken-down local time. Works like mktime with the summer-time flag left to the
// zone, but through timegm and localtime_r: mktime checks the zone file on every call, which made parsing an
// hour of fixes several times slower.
std::int64_t LocalToEpoch(std::tm tm) {
  const std::time_t asUtc = timegm(&tm);
  std::tm local{};
  localtime_r(&asUtc, &local);
  std::time_t guess = asUtc - local.tm_gmtoff;
  localtime_r(&guess, &local);
  guess = asUtc - local.tm_gmtoff;  // the offset at the result, in case a zone change lies in between
  return static_cast<std::int64_t>(guess);
}

std::int64_t LocalEpoch(const CGPSData& s) {
  std::tm tm{};
  tm.tm_sec = s.second;
  tm.tm_min = s.minute;
  tm.tm_hour = s.hour;  // beyond 23 rolls into the next day
  tm.tm_mday = s.day;
  tm.tm_mon = s.month - 1;
  tm.tm_year = (s.year + 30) % 100 + 70;
  return LocalToEpoch(tm);
}

// A missing coordinate stays 0 rather than becoming -0.
double Negated(double value) { return value == 0.0 ? 0.0 : -value; }

void StoreField(CGPSData& s, int index, std::string_view field) {
  const bool firstIs = !field.empty();
  switch (index) {
    case 0:
      ReadTriplet(field, s.hour, s.minute, s.second);
      s.hour += 9;
      break;
    case 1: s.valid = (firstIs && field.front() == 'A') ? 1 : 0; break;
    case 2: s.latitude = ParseCDouble(field); break;
    case 3: if (!(firstIs && field.front() == 'N')) s.latitude = Negated(s.latitude); break;
    case 4: s.longitude = ParseCDouble(field); break;
    case 5: if (!(firstIs && field.front() == 'E')) s.longitude = Negated(s.longitude); break;
    case 6: s.speed = SinglePrecision(ParseCDouble(field) * 1.852); break;
    case 7: s.course = SinglePrecision(ParseCDouble(field)); break;
    case 8: ReadTriplet(field, s.day, s.month, s.year); break;
    default: break;
  }
}

}  // namespace

bool ParseGps(CGPSData& sample, std::uint32_t time, std::string_view text) {
  sample.time = time;
  FieldCursor cursor(text.substr(0, kMaxGpsText));
  std::string_view field;
  for (int index = -1; index <= 8; ++index) {
    if (!cursor.Next(field)) return false;
    StoreField(sample, index, field);
  }
  sample.epoch = LocalEpoch(sample);
  return true;
}

bool StatesWholeFix(std::string_view text) {
  const auto digits = [](std::string_view f) { return !f.empty() && f.find_first_not_of("0123456789.") == f.npos; };
  const auto oneOf = [](std::string_view f, const char* letters) {
    return f.size() == 1 && std::strchr(letters, f.front()) != nullptr;
  };
  FieldCursor cursor(text.substr(0, kMaxGpsText));
  std::string_view fields[10];
  for (std::string_view& field : fields) {
    if (!cursor.Next(field)) return false;
  }
  // fields[0] is the sentence name; the RMC fields follow from index 1.
  return fields[1].size() >= 6 && digits(fields[1].substr(0, 6)) && digits(fields[3]) && oneOf(fields[4], "NS") &&
         digits(fields[5]) && oneOf(fields[6], "EW");
}

void ParseRecord(std::uint32_t time, const RecordBuffer& buffer, CTextData& textData) {
  switch (buffer[0]) {
    case 'M': {
      CGSensorData sample;
      sample.x = 128 - buffer[1];
      sample.y = 128 - buffer[2];
      sample.z = 128 - buffer[3];
      sample.time = time;
      textData.m_arrGSensor.Add(sample);
      break;
    }
    case 'G': {
      // A record without its zero byte is read up to the end of the buffer, never past it.
      const auto* chars = reinterpret_cast<const char*>(buffer.data());
      const std::size_t length = strnlen(chars, kMaxGpsText);
      CGPSData sample;
      ParseGps(sample, time, std::string_view(chars, length));
      textData.m_arrGps.Add(sample);
      break;
    }
    default:
      break;
  }
}

double ToDecimalDegrees(double value) {
  const double degrees = std::trunc(value / 100.0);
  return degrees + (value / 100.0 - degrees) * 100.0 / 60.0;
}

}  // namespace vx
