// Converts the records of the VX-880QN log, parsed as the viewer parses them, into common units.
#include "core/telemetry/layouts/Vx880Telemetry.h"

#include <cmath>

#include "core/telemetry/FileTelemetrySource.h"
#include "core/telemetry/LogRecords.h"
#include "core/telemetry/RecordParser.h"
#include "core/telemetry/TelemetryLog.h"

namespace vx {
namespace {

// Axis units per g. The acceleration graph labels its axis 4.00 to -4.00 in steps of 20 pixels and draws
// 0.625 pixels per unit, so one labelled step (1 g) is 32 units and the full range of 128 is 4 g.
constexpr double kAxisUnitsPerG = 32.0;

AccelSample ToAccel(const CGSensorData& s) {
  return {s.time, s.x / kAxisUnitsPerG, s.y / kAxisUnitsPerG, s.z / kAxisUnitsPerG};
}

// A fix that is not usable keeps only its media time: its fields may read as 0 or be out of range.
GpsSample ToGps(const ParsedRecord& r) {
  const CGPSData& g = r.gps;
  GpsSample sample;
  sample.mediaMs = g.time;
  if (!IsUsableFix(r)) return sample;
  sample.valid = true;
  sample.utcMs = FixUtcSeconds(g) * 1000;
  sample.latitude = ToDecimalDegrees(g.latitude);
  sample.longitude = ToDecimalDegrees(g.longitude);
  if (std::isfinite(g.speed) && g.speed >= 0) sample.speedKmh = g.speed;
  if (std::isfinite(g.course) && g.course >= 0 && g.course < 360) sample.headingDeg = g.course;
  return sample;
}

}  // namespace

TelemetryTrack Vx880TrackOf(ITelemetrySource& source) {
  TelemetryTrack track;
  for (const ParsedRecord& r : ReadAllRecords(source)) {
    if (r.isGps) {
      track.gps.push_back(ToGps(r));
    } else {
      track.accel.push_back(ToAccel(r.gsensor));
    }
  }
  if (!track.gps.empty() || !track.accel.empty()) track.layout = kVx880LogLayout;
  return track;
}

TelemetryTrack ReadVx880Telemetry(const ByteSource& file) {
  TelemetryLogResult result = ReadTelemetryLog(file);
  if (!result.ok || !result.found) return {};
  std::string warning = result.log.Warning();
  FileTelemetrySource source;
  source.Assign(std::move(result.log));
  TelemetryTrack track = Vx880TrackOf(source);
  track.layout = kVx880LogLayout;  // a log without records is still this camera's log
  track.warning = std::move(warning);
  return track;
}

}  // namespace vx
