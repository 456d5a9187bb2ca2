// Fuzzes the NMEA text track reader: the input is the recording, its sample tables and its text samples.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/telemetry/layouts/NmeaTrackTelemetry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vx::TelemetryTrack track = vx::ReadNmeaTrackTelemetry(vx::MemoryByteSource({data, size}));
  for (const vx::GpsSample& fix : track.gps) {
    if (fix.valid && (std::abs(fix.latitude) > 90 || std::abs(fix.longitude) > 180 || !(fix.speedKmh >= 0))) std::abort();
  }
  return 0;
}
