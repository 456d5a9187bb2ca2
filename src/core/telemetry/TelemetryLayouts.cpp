// The table of layout readers and the lookup that tries them in order.
#include "core/telemetry/TelemetryLayouts.h"

#include "core/telemetry/layouts/GpxTelemetry.h"
#include "core/telemetry/layouts/NmeaTelemetry.h"
#include "core/telemetry/layouts/NovatekTelemetry.h"
#include "core/telemetry/layouts/PittasoftTelemetry.h"
#include "core/telemetry/layouts/Vx880Telemetry.h"

namespace vx {
namespace {

// One line per layout; the first reader that recognises a file wins, so the more specific come first:
// data inside the recording before files beside it.
constexpr TelemetryReader kReaders[] = {
    {kVx880LogLayout, [](const ByteSource& file, const SideFiles&) { return ReadVx880Telemetry(file); }},
    {kNovatekLayoutName, [](const ByteSource& file, const SideFiles&) { return ReadNovatekTelemetry(file); }},
    {"Pittasoft", ReadPittasoftTelemetry},
    {"NMEA log", [](const ByteSource&, const SideFiles& side) { return ReadNmeaTelemetry(side); }},
    {kGpxLayoutName, [](const ByteSource&, const SideFiles& side) { return ReadGpxTelemetry(side); }},
};

}  // namespace

std::span<const TelemetryReader> TelemetryReaders() { return kReaders; }

TelemetryTrack ReadTelemetry(const ByteSource& file, const SideFiles& side) {
  for (const TelemetryReader& reader : kReaders) {
    TelemetryTrack track = reader.read(file, side);
    if (!track.layout.empty()) return track;
  }
  return {};
}

TelemetryTrack ReadRecordingTelemetry(const std::string& path, ITelemetrySource* openedLog) {
  if (openedLog) {
    TelemetryTrack track = Vx880TrackOf(*openedLog);
    if (!track.layout.empty()) return track;
  }
  std::string error;
  const auto file = FileByteSource::Open(path, error);
  if (file) return ReadTelemetry(*file, SideFilesOf(path));
  TelemetryTrack none;
  none.warning = error;
  return none;
}

}  // namespace vx
