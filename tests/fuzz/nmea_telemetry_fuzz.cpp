// Fuzzes the NMEA log reader with the input as the log beside a recording.
#include "TrackChecks.h"
#include "core/telemetry/layouts/NmeaTelemetry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vx::fuzz::CheckFixDetails(vx::ReadNmeaTelemetry(vx::fuzz::SideFilesOf({data, size})), false);
  return 0;
}
