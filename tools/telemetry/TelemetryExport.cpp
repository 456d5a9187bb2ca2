// CSV, GPX and summary text of parsed telemetry, always in the C locale.
#include "TelemetryExport.h"

#include <ctime>

#include "core/common/CFormat.h"
#include "core/telemetry/RecordParser.h"

namespace vx::telemetry {
namespace {

constexpr int kCameraUtcOffsetHours = 9;

std::string Xml(const std::string& text) {
  std::string out;
  for (const char c : text) {
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
    if (arrays.m_arrGps.GetSize() > fixesBefore) records.push_back({true, {}, arrays.m_arrGps[fixesBefore]});
    if (arrays.m_arrGSensor.GetSize() > samplesBefore) {
      records.push_back({false, arrays.m_arrGSensor[samplesBefore], {}});
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
    if (!r.isGps || r.gps.valid != 1) continue;
    const CGPSData& g = r.gps;
    std::fprintf(m_out,
                 "      <trkpt lat=\"%s\" lon=\"%s\"><time>%s</time><extensions><gpxtpx:TrackPointExtension>"
                 "<gpxtpx:speed>%s</gpxtpx:speed><gpxtpx:course>%s</gpxtpx:course>"
                 "</gpxtpx:TrackPointExtension></extensions></trkpt>\n",
                 FormatFixed(ToDecimalDegrees(g.latitude), 6).c_str(),
                 FormatFixed(ToDecimalDegrees(g.longitude), 6).c_str(), UtcTimestamp(g).c_str(),
                 FormatFixed(g.speed / 3.6, 3).c_str(), FormatFixed(g.course, 2).c_str());
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
    if (r.gps.valid != 1) continue;
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
