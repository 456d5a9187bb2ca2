// The records of a VX-880QN telemetry log in file order, parsed as the viewer parses them, and what makes a fix usable.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/telemetry/ITelemetrySource.h"
#include "core/telemetry/TelemetrySamples.h"

namespace vx {

// One parsed record in file order: a G-sensor sample or a GPS fix.
struct ParsedRecord {
  bool isGps = false;
  CGSensorData gsensor;
  CGPSData gps;
  bool complete = false;  // a fix whose text stated its time, both coordinates and their hemispheres
};

// Drains the source as the viewer does, keeping the file order of G-sensor samples and fixes.
std::vector<ParsedRecord> ReadAllRecords(ITelemetrySource& source);

// A fix that may stand on a map: complete, marked valid ('A'), with finite coordinates in range and a real
// date and time. Anything else (a record cut short, an empty field, NaN, 95 degrees north) is not.
bool IsUsableFix(const ParsedRecord& record);

// Decimal degrees rounded to six decimals of ddmm.mmmm; nothing when it is no angle within `limit`.
std::optional<double> FixDegrees(double ddmm, double limit);

// Seconds since 1970 (UTC) of a fix's +9 hour clock, day, month and year carried as needed.
std::int64_t FixUtcSeconds(const CGPSData& fix);

}  // namespace vx
