// Formats the telemetry of recordings as CSV rows, a GPX track or a one-line summary.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/telemetry/LogRecords.h"
#include "core/telemetry/RecordingStart.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx::telemetry {

// The records as the core reads them from the VX-880QN log.
using vx::ParsedRecord;
using vx::ReadAllRecords;

std::string CsvRow(const ParsedRecord& record);
// "YYYY-MM-DDTHH:MM:SSZ" of a fix: its +9 hour clock taken back to UTC.
std::string UtcTimestamp(const CGPSData& fix);

class GpxWriter {
 public:
  explicit GpxWriter(std::FILE* out);
  ~GpxWriter();
  // The usable fixes of a VX-880QN log, exactly as the tool has always written them.
  void Track(const std::string& name, const std::vector<ParsedRecord>& records);
  // The valid fixes of a track read from any layout.
  void Track(const std::string& name, const TelemetryTrack& track);

 private:
  void Point(double latitude, double longitude, const std::optional<double>& altitudeM, const std::string& utc,
             double speedKmh, const std::optional<double>& course);
  std::FILE* m_out;
};

std::string Summary(const std::string& file, const std::vector<ParsedRecord>& records);

// A track of any layout in media time order: "A,time,x,y,z" per accelerometer sample (in g) and
// "F,time,valid,lat,lon,utc,speed,heading,altitude" per fix (decimal degrees, ISO 8601 UTC, km/h, degrees,
// metres; a field left empty when the fix does not state it, the position when the fix is not valid).
std::vector<std::string> TrackCsvRows(const TelemetryTrack& track);
// "FILE: LAYOUT, N accelerometer samples, M GPS fixes" with the first and last valid fix, or
// "FILE: telemetry not readable" when no layout was recognised.
std::string TrackSummary(const std::string& file, const TelemetryTrack& track);
// ", named 2026-12-05T23:15:00Z (UTC+09:00, setup.cfg)": the start the file's name gives, in UTC, and the
// zone its local time was read in; empty when the name carries no time.
std::string StartText(const std::optional<RecordingStart>& start);

}  // namespace vx::telemetry
