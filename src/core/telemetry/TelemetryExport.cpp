// CSV, GPX and summary text of parsed telemetry, always in the C locale.
#include "core/telemetry/TelemetryExport.h"

#include <cmath>
#include <cstring>
#include <ctime>
#include <optional>

#include "core/common/CFormat.h"
#include "core/telemetry/LogRecords.h"
#include "core/telemetry/RecordParser.h"
#include "core/text/Utf.h"

namespace vx::telemetry {
namespace {

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

std::string Position(const CGPSData& fix) {
  return FormatFixed(ToDecimalDegrees(fix.latitude), 6) + "," + FormatFixed(ToDecimalDegrees(fix.longitude), 6);
}

std::string Position(const GpsSample& fix) {
  return FormatFixed(fix.latitude, 6) + "," + FormatFixed(fix.longitude, 6);
}

// "YYYY-MM-DDTHH:MM:SSZ" of seconds since 1970.
std::string IsoUtc(std::int64_t seconds) {
  const auto utc = static_cast<std::time_t>(seconds);
  std::tm norm{};
  gmtime_r(&utc, &norm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &norm);
  return text;
}

std::string OptionalFixed(const std::optional<double>& value, int decimals) {
  return value ? FormatFixed(*value, decimals) : std::string();
}

// Whether a reader's valid fix can stand in a GPX document: a reader's judgement is checked once more here.
bool IsPlaceable(const GpsSample& fix) {
  return fix.valid && std::isfinite(fix.latitude) && std::isfinite(fix.longitude) && std::fabs(fix.latitude) <= 90 &&
         std::fabs(fix.longitude) <= 180;
}

}  // namespace

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

std::string UtcTimestamp(const CGPSData& fix) { return IsoUtc(FixUtcSeconds(fix)); }

GpxWriter::GpxWriter(std::FILE* out) : m_out(out) {
  std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<gpx version=\"1.1\" creator=\"vx880-telemetry\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
             "xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v2\">\n", m_out);
}

GpxWriter::~GpxWriter() { std::fputs("</gpx>\n", m_out); }

void GpxWriter::Point(double latitude, double longitude, const std::optional<double>& altitudeM,
                      const std::string& utc, double speedKmh, const std::optional<double>& course) {
  // Speed and course are written only when they are values the extension's schema allows.
  std::string motion;
  if (std::isfinite(speedKmh) && speedKmh >= 0) {
    motion += "<gpxtpx:speed>" + FormatFixed(speedKmh / 3.6, 3) + "</gpxtpx:speed>";
  }
  if (course && std::isfinite(*course) && *course >= 0 && std::round(*course * 100) < 36000) {
    motion += "<gpxtpx:course>" + FormatFixed(*course, 2) + "</gpxtpx:course>";
  }
  const std::string ele = altitudeM && std::isfinite(*altitudeM) ? "<ele>" + FormatFixed(*altitudeM, 1) + "</ele>" : "";
  const std::string time = utc.empty() ? "" : "<time>" + utc + "</time>";
  std::fprintf(m_out,
               "      <trkpt lat=\"%s\" lon=\"%s\">%s%s<extensions><gpxtpx:TrackPointExtension>"
               "%s</gpxtpx:TrackPointExtension></extensions></trkpt>\n",
               FormatFixed(latitude, 6).c_str(), FormatFixed(longitude, 6).c_str(), ele.c_str(), time.c_str(),
               motion.c_str());
}

void GpxWriter::Track(const std::string& name, const std::vector<ParsedRecord>& records) {
  std::fprintf(m_out, "  <trk>\n    <name>%s</name>\n    <trkseg>\n", Xml(name).c_str());
  for (const ParsedRecord& r : records) {
    if (!IsUsableFix(r)) continue;
    const CGPSData& g = r.gps;
    Point(*FixDegrees(g.latitude, 90.0), *FixDegrees(g.longitude, 180.0), std::nullopt, UtcTimestamp(g), g.speed,
          g.course);
  }
  std::fputs("    </trkseg>\n  </trk>\n", m_out);
}

void GpxWriter::Track(const std::string& name, const TelemetryTrack& track) {
  std::fprintf(m_out, "  <trk>\n    <name>%s</name>\n    <trkseg>\n", Xml(name).c_str());
  for (const GpsSample& fix : track.gps) {
    if (!IsPlaceable(fix)) continue;
    Point(fix.latitude, fix.longitude, fix.altitudeM, fix.utcMs ? IsoUtc(*fix.utcMs / 1000) : "", fix.speedKmh,
          fix.headingDeg);
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
    if (!IsUsableFix(r)) continue;
    if (!first) first = &r.gps;
    last = &r.gps;
  }
  std::string line = file + ": " + std::to_string(records.size()) + " records (" +
                     std::to_string(records.size() - fixes) + " G-sensor, " + std::to_string(fixes) + " GPS)";
  if (!first) return line + ", no valid fix";
  return line + ", first fix " + Position(*first) + " at " + UtcTimestamp(*first) + ", last fix " + Position(*last) +
         " at " + UtcTimestamp(*last);
}

std::vector<std::string> TrackCsvRows(const TelemetryTrack& track) {
  std::vector<std::string> rows;
  auto fix = track.gps.begin();
  auto accel = track.accel.begin();
  // Both lists are in media time order; merged, fixes first where times are equal.
  while (fix != track.gps.end() || accel != track.accel.end()) {
    if (accel == track.accel.end() || (fix != track.gps.end() && fix->mediaMs <= accel->mediaMs)) {
      const GpsSample& g = *fix++;
      rows.push_back("F," + std::to_string(g.mediaMs) + "," + (g.valid ? "1" : "0") + "," +
                     (g.valid ? Position(g) : ",") + "," + (g.utcMs ? IsoUtc(*g.utcMs / 1000) : "") + "," +
                     (g.valid ? FormatFixed(g.speedKmh, 4) : "") + "," + OptionalFixed(g.headingDeg, 4) + "," +
                     OptionalFixed(g.altitudeM, 1));
    } else {
      const AccelSample& a = *accel++;
      rows.push_back("A," + std::to_string(a.mediaMs) + "," + FormatFixed(a.x, 4) + "," + FormatFixed(a.y, 4) + "," +
                     FormatFixed(a.z, 4));
    }
  }
  return rows;
}

std::string StartText(const std::optional<RecordingStart>& start) {
  if (!start) return {};
  return ", named " + IsoUtc(start->utcSeconds) + " (" + NamingZoneText(start->zone) + ")";
}

std::string TrackSummary(const std::string& file, const TelemetryTrack& track) {
  if (track.layout.empty()) return file + ": telemetry not readable";
  const GpsSample* first = nullptr;
  const GpsSample* last = nullptr;
  for (const GpsSample& fix : track.gps) {
    if (!IsPlaceable(fix)) continue;
    if (!first) first = &fix;
    last = &fix;
  }
  std::string line = file + ": " + track.layout + ", " + std::to_string(track.accel.size()) +
                     " accelerometer samples, " + std::to_string(track.gps.size()) + " GPS fixes";
  if (!first) return line + ", no valid fix";
  const auto at = [](const GpsSample& fix) { return fix.utcMs ? " at " + IsoUtc(*fix.utcMs / 1000) : std::string(); };
  return line + ", first fix " + Position(*first) + at(*first) + ", last fix " + Position(*last) + at(*last);
}

}  // namespace vx::telemetry
