// Formats the telemetry of recordings as CSV rows, a GPX track or a one-line summary.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "core/telemetry/ITelemetrySource.h"
#include "core/telemetry/TelemetrySamples.h"

namespace vx::telemetry {

// One parsed record in file order: a G-sensor sample or a GPS fix.
struct ParsedRecord {
  bool isGps = false;
  CGSensorData gsensor;
  CGPSData gps;
  bool complete = false;  // a fix whose text stated its time, both coordinates and their hemispheres
};

// Drains the source as the viewer does, keeping the file order of G-sensor samples and fixes.
std::vector<ParsedRecord> ReadAllRecords(ITelemetrySource& source);

std::string CsvRow(const ParsedRecord& record);
// A fix that may become a track point: complete, marked valid ('A'), with finite coordinates in range
// and a real date and time. Anything else (a record cut short, an empty field, NaN, 95 degrees north) is
// left out.
bool IsExportableFix(const ParsedRecord& record);
// "YYYY-MM-DDTHH:MM:SSZ" of a fix: its +9 hour clock taken back to UTC.
std::string UtcTimestamp(const CGPSData& fix);

class GpxWriter {
 public:
  explicit GpxWriter(std::FILE* out);
  ~GpxWriter();
  void Track(const std::string& name, const std::vector<ParsedRecord>& records);

 private:
  std::FILE* m_out;
};

std::string Summary(const std::string& file, const std::vector<ParsedRecord>& records);

}  // namespace vx::telemetry
