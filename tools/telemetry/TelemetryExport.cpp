// CSV, GPX and summary text of parsed telemetry, always in the C locale.
#include "TelemetryExport.h"

#include <cmath>
#include <cstring>
#include <ctime>
#include <optional>

#include "core/common/CFormat.h"
#include "core/telemetry/RecordParser.h"
#include "core/text/Utf.h"

namespace vx::telemetry {
namespace {

constexpr int kCameraUtcOffsetHours = 9;

// XML character data of any bytes: bytes that are no UTF-8 and characters XML 1.0 forbids (control
// characters, U+FFFE, U+FFFF) become U+FFFD, so a file name can never break the document.
std::string Xml(const std::string& text) {
  std::u16string units = Utf8ToUtf16(text);
  for (char16_t& c : units) {
    if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0xFFFE || c == 0xFFFF) c = 0xFFFD;
  }
  std::string out;
  for (const char c : Utf16ToUtf8(units)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// Decimal degrees as written (six decimals) of ddmm.mmmm; nothing when it is no angle within `limit`.
std::optional<double> Degrees(double ddmm, double limit) {
  if (!std::isfinite(ddmm) || std::fmod(std::fabs(ddmm), 100.0) >= 60.0) return std::nullopt;
  const double degrees = std::round(ToDecimalDegrees(ddmm) * 1e6) / 1e6;
  if (std::fabs(degrees) > limit) return std::nullopt;
  return degrees;
}

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

std::string Position(const CGPSData& fix) {
  return FormatFixed(ToDecimalDegrees(fix.latitude), 6) + "," + FormatFixed(ToDecimalDegrees(fix.longitude), 6);
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
      // The viewer keeps what a short text held; the export also needs to know whether it was whole.
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

std::string CsvRow(const ParsedRecord& r) {
  if (!r.isGps) {
    const auto& s = r.gsensor;
    return "M," + std::to_string(s.time) + "," + std::to_string(s.x) + "," + std::to_string(s.y) + "," +
           std::to_string(s.z);
  }
  const auto& g = r.gps;
  std::string row = "G," + std::to_string(g.time) + "," + std::to_string(g.valid) + "," + FormatFixed(g.latitude, 6) +
                    "," + FormatFixed(g.longitude, 6) + "," + Position(g) + "," + FormatFixed(g.speed, 4) + "," +
                    FormatFixed(g.course, 4);
  for (const int v : {g.year, g.month, g.day, g.hour, g.minute, g.second}) row += "," + std::to_string(v);
  return row;
}

bool IsExportableFix(const ParsedRecord& r) {
  if (!r.isGps || !r.complete || r.gps.valid != 1) return false;
  const CGPSData& g = r.gps;
  const bool timeInRange = g.hour >= 9 && g.hour <= 32 && g.minute >= 0 && g.minute <= 59 && g.second >= 0 &&
                           g.second <= 60 && IsCalendarDay(g.year, g.month, g.day);
  const auto longitude = Degrees(g.longitude, 180.0);
  return timeInRange && Degrees(g.latitude, 90.0) && longitude && *longitude < 180.0;
}

std::string UtcTimestamp(const CGPSData& fix) {
  std::tm tm{};
  tm.tm_year = (fix.year + 30) % 100 + 70;
  tm.tm_mon = fix.month - 1;
  tm.tm_mday = fix.day;
  tm.tm_hour = fix.hour - kCameraUtcOffsetHours;
  tm.tm_min = fix.minute;
  tm.tm_sec = fix.second;
  const std::time_t utc = timegm(&tm);
  std::tm norm{};
  gmtime_r(&utc, &norm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &norm);
  return text;
}

GpxWriter::GpxWriter(std::FILE* out) : m_out(out) {
  std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<gpx version=\"1.1\" creator=\"vx880-telemetry\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
             "xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v2\">\n", m_out);
}

GpxWriter::~GpxWriter() { std::fputs("</gpx>\n", m_out); }

void GpxWriter::Track(const std::string& name, const std::vector<ParsedRecord>& records) {
  std::fprintf(m_out, "  <trk>\n    <name>%s</name>\n    <trkseg>\n", Xml(name).c_str());
  for (const ParsedRecord& r : records) {
    if (!IsExportableFix(r)) continue;
    const CGPSData& g = r.gps;
    // Speed and course are written only when they are values the extension's schema allows.
    std::string motion;
    if (std::isfinite(g.speed) && g.speed >= 0) {
      motion += "<gpxtpx:speed>" + FormatFixed(g.speed / 3.6, 3) + "</gpxtpx:speed>";
    }
    if (std::isfinite(g.course) && g.course >= 0 && std::round(g.course * 100) < 36000) {
      motion += "<gpxtpx:course>" + FormatFixed(g.course, 2) + "</gpxtpx:course>";
    }
    std::fprintf(m_out,
                 "      <trkpt lat=\"%s\" lon=\"%s\"><time>%s</time><extensions><gpxtpx:TrackPointExtension>"
                 "%s</gpxtpx:TrackPointExtension></extensions></trkpt>\n",
                 FormatFixed(*Degrees(g.latitude, 90.0), 6).c_str(),
                 FormatFixed(*Degrees(g.longitude, 180.0), 6).c_str(), UtcTimestamp(g).c_str(), motion.c_str());
  }
  std::fputs("    </trkseg>\n  </trk>\n", m_out);
}

std::string Summary(const std::string& file, const std::vector<ParsedRecord>& records) {
  std::size_t fixes = 0;
  const CGPSData* first = nullptr;
  const CGPSData* last = nullptr;
  for (const ParsedRecord& r : records) {
    if (!r.isGps) continue;
    ++fixes;
    if (!IsExportableFix(r)) continue;
    if (!first) first = &r.gps;
    last = &r.gps;
  }
  std::string line = file + ": " + std::to_string(records.size()) + " records (" +
                     std::to_string(records.size() - fixes) + " G-sensor, " + std::to_string(fixes) + " GPS)";
  if (!first) return line + ", no valid fix";
  return line + ", first fix " + Position(*first) + " at " + UtcTimestamp(*first) + ", last fix " + Position(*last) +
         " at " + UtcTimestamp(*last);
}

}  // namespace vx::telemetry
