// The table of layout readers and the lookup that tries them in order.
#include "core/telemetry/TelemetryLayouts.h"

#include "core/telemetry/layouts/AviTelemetry.h"
#include "core/telemetry/layouts/GarminTelemetry.h"
#include "core/telemetry/layouts/GpmfTelemetry.h"
#include "core/telemetry/layouts/GpxTelemetry.h"
#include "core/telemetry/layouts/NmeaTelemetry.h"
#include "core/telemetry/layouts/NmeaTrackTelemetry.h"
#include "core/telemetry/layouts/NovatekTelemetry.h"
#include "core/telemetry/layouts/PittasoftTelemetry.h"
#include "core/telemetry/layouts/SeventyMaiTelemetry.h"
#include "core/telemetry/layouts/Vx880Telemetry.h"

namespace vx {
namespace {

// A reader of data inside the recording, in the table's form.
template <TelemetryTrack (*Read)(const ByteSource&)>
TelemetryTrack InFile(const ByteSource& file, const SideFiles&) {
  return Read(file);
}
TelemetryTrack NovatekIndexed(const ByteSource& file) { return ReadNovatekTelemetry(file, false); }
TelemetryTrack NovatekSearched(const ByteSource& file) { return ReadNovatekTelemetry(file, true); }

// One line per layout; the first reader that recognises a file wins, so the more specific come first:
// data inside the recording before files beside it. Searching the media data for freeGPS blocks without
// their index reads up to 32 MiB, so it comes last, when nothing cheaper has been found.
constexpr TelemetryReader kReaders[] = {
    {kVx880LogLayout, InFile<ReadVx880Telemetry>},
    {kNovatekLayoutName, InFile<NovatekIndexed>},
    {kGpmfLayoutName, InFile<ReadGpmfTelemetry>},
    {kNmeaTrackLayoutName, InFile<ReadNmeaTrackTelemetry>},
    {kGarminLayoutName, InFile<ReadGarminTelemetry>},
    {kSeventyMaiLayoutName, InFile<ReadSeventyMaiTelemetry>},
    {kAviGpsLayoutName, InFile<ReadAviTelemetry>},
    {"Pittasoft", ReadPittasoftTelemetry},
    {"NMEA log", [](const ByteSource&, const SideFiles& side) { return ReadNmeaTelemetry(side); }},
    {kGpxLayoutName, [](const ByteSource&, const SideFiles& side) { return ReadGpxTelemetry(side); }},
    {"Novatek freeGPS without index", InFile<NovatekSearched>},
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
