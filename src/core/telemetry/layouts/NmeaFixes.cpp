// NMEA sentence checks and the RMC/GGA reading, built on the RMC grammar of the camera's own log.
#include "core/telemetry/layouts/NmeaFixes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>

#include "core/telemetry/CNumber.h"
#include "core/telemetry/RecordParser.h"

namespace vx {
namespace {

constexpr double kMaxSpeedKmh = 1000.0;  // beyond any car: a damaged field, not a fix
constexpr std::int64_t kMaxMediaMs = 0xFFFFFFFFll;

std::vector<std::string_view> SplitFields(std::string_view sentence) {
  std::vector<std::string_view> fields;
  for (std::size_t comma; (comma = sentence.find(',')) != std::string_view::npos;) {
    fields.push_back(sentence.substr(0, comma));
    sentence.remove_prefix(comma + 1);
  }
  fields.push_back(sentence);
  return fields;
}

// "GPRMC", "GNRMC", ...: any two-letter talker.
bool IsSentence(std::string_view name, std::string_view type) {
  return name.size() == 5 && name.substr(2) == type;
}

bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Milliseconds of a "hhmmss[.sss]" field beyond its whole seconds.
std::int64_t FractionMs(std::string_view timeField) {
  if (timeField.size() < 8 || timeField[6] != '.') return 0;
  return std::llround(ParseCDouble(timeField.substr(6)) * 1000.0);
}

// UTC milliseconds of an RMC fix from its "hhmmss" and "ddmmyy" fields; nullopt when not a real date.
std::optional<std::int64_t> UtcMs(std::string_view timeField, std::string_view dateField) {
  if (timeField.size() < 6 || !AllDigits(timeField.substr(0, 6)) || dateField.size() != 6 || !AllDigits(dateField)) {
    return std::nullopt;
  }
  const auto two = [](std::string_view f, std::size_t at) { return ParseCInt(f.substr(at, 2)); };
  std::tm tm{};
  tm.tm_hour = two(timeField, 0);
  tm.tm_min = two(timeField, 2);
  tm.tm_sec = two(timeField, 4);
  tm.tm_mday = two(dateField, 0);
  tm.tm_mon = two(dateField, 2) - 1;
  const int year = two(dateField, 4);
  tm.tm_year = year < 70 ? year + 100 : year;  // two-digit years: 1970 to 2069
  if (tm.tm_hour > 23 || tm.tm_min > 59 || tm.tm_sec > 60 || tm.tm_mday < 1 || tm.tm_mday > 31 || tm.tm_mon < 0 ||
      tm.tm_mon > 11) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(timegm(&tm)) * 1000 + FractionMs(timeField);
}

// ddmm.mmmm with its minutes below 60.
bool WholeMinutes(double degreesMinutes) { return std::fmod(std::abs(degreesMinutes), 100.0) < 60.0; }

bool InRange(const GpsSample& fix) {
  return std::abs(fix.latitude) <= 90.0 && std::abs(fix.longitude) <= 180.0 &&
         !(fix.latitude == 0.0 && fix.longitude == 0.0) && fix.speedKmh >= 0.0 && fix.speedKmh <= kMaxSpeedKmh &&
         (!fix.headingDeg || (*fix.headingDeg >= 0.0 && *fix.headingDeg <= 360.0));
}

bool IsText(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return (c >= 0x20 && c < 0x7F) || c == '\t'; });
}

}  // namespace

std::optional<std::size_t> ForEachTextLine(std::span<const std::uint8_t> bytes,
                                           const std::function<void(std::string_view)>& visit) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    std::string_view line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!IsText(line)) return at;
    visit(line);
    at = end + 1;
  }
  return std::nullopt;
}

std::string_view CheckedSentence(std::string_view line) {
  const std::size_t dollar = line.find('$');
  if (dollar == std::string_view::npos) return {};
  line.remove_prefix(dollar + 1);
  const std::size_t star = line.find('*');
  if (star == std::string_view::npos) return line;
  std::uint8_t sum = 0;
  for (const char c : line.substr(0, star)) sum ^= static_cast<std::uint8_t>(c);
  const std::string_view stated = line.substr(star + 1, 2);
  unsigned value = 0;
  const auto parsed = std::from_chars(stated.data(), stated.data() + stated.size(), value, 16);
  if (stated.size() != 2 || parsed.ptr != stated.data() + 2 || value != sum) return {};
  return line.substr(0, star);
}

void NmeaFixCollector::AddLine(std::string_view line, std::optional<std::int64_t> stampMs) {
  const std::string_view sentence = CheckedSentence(line);
  const std::string_view name = sentence.substr(0, sentence.find(','));
  if (IsSentence(name, "RMC")) AddRmc(sentence, stampMs);
  if (IsSentence(name, "GGA")) AddGga(sentence);
}

void NmeaFixCollector::AddRmc(std::string_view sentence, std::optional<std::int64_t> stampMs) {
  const std::vector<std::string_view> fields = SplitFields(sentence);
  // Status A, then every field the camera's RMC grammar reads, the speed and a whole date.
  if (fields.size() < 10 || fields[2] != "A" || fields[7].empty() || !StatesWholeFix(sentence)) return;
  const std::optional<std::int64_t> utcMs = UtcMs(fields[1], fields[9]);
  if (!utcMs) return;
  CGPSData parsed;
  ParseGps(parsed, 0, sentence);
  if (!WholeMinutes(parsed.latitude) || !WholeMinutes(parsed.longitude)) return;
  GpsSample fix;
  fix.valid = true;
  fix.utcMs = utcMs;
  fix.latitude = ToDecimalDegrees(parsed.latitude);
  fix.longitude = ToDecimalDegrees(parsed.longitude);
  fix.speedKmh = ParseCDouble(fields[7]) * 1.852;  // knots, read again at full precision
  if (!fields[8].empty()) fix.headingDeg = ParseCDouble(fields[8]);
  const std::optional<std::uint32_t> mediaMs = MediaTime(*utcMs, stampMs);
  if (!mediaMs || !InRange(fix)) return;
  fix.mediaMs = *mediaMs;
  if (m_pendingAltitude && m_pendingAltitude->timeOfDay == fields[1]) fix.altitudeM = m_pendingAltitude->metres;
  m_pendingAltitude.reset();
  m_lastFixTimeOfDay = fields[1];
  m_fixes.push_back(fix);
}

void NmeaFixCollector::AddGga(std::string_view sentence) {
  const std::vector<std::string_view> fields = SplitFields(sentence);
  // Fix quality 0 means no fix; the altitude must be stated in metres.
  if (fields.size() < 11 || fields[6].empty() || fields[6] == "0" || fields[9].empty() || fields[10] != "M") return;
  const double metres = ParseCDouble(fields[9]);
  if (std::abs(metres) > 100000.0) return;
  if (!m_fixes.empty() && m_lastFixTimeOfDay == fields[1]) {
    m_fixes.back().altitudeM = metres;
  } else {
    m_pendingAltitude = PendingAltitude{std::string(fields[1]), metres};
  }
}

// Stamped lines count from the first stamp, others from the first fix's UTC time; before it, or beyond
// what a recording holds, the fix has no place in the recording.
std::optional<std::uint32_t> NmeaFixCollector::MediaTime(std::int64_t utcMs, std::optional<std::int64_t> stampMs) {
  std::optional<std::int64_t>& first = stampMs ? m_firstStampMs : m_firstUtcMs;
  const std::int64_t now = stampMs ? *stampMs : utcMs;
  if (!first) first = now;
  const std::int64_t media = now - *first;
  if (media < 0 || media > kMaxMediaMs) return std::nullopt;
  return static_cast<std::uint32_t>(media);
}

}  // namespace vx
