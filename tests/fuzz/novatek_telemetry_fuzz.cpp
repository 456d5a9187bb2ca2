// Fuzzes the Novatek freeGPS reader over any bytes: no crash, and every fix it calls valid is in range.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/telemetry/layouts/NovatekTelemetry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vx::TelemetryTrack track = vx::ReadNovatekTelemetry(vx::MemoryByteSource({data, size}));
  for (const vx::GpsSample& fix : track.gps) {
    if (!fix.valid) continue;
    if (!(std::abs(fix.latitude) <= 90.0 && std::abs(fix.longitude) <= 180.0)) std::abort();
    if (fix.latitude == 0.0 && fix.longitude == 0.0) std::abort();
    if (!(fix.speedKmh >= 0.0 && fix.speedKmh < 1000.0) || !fix.utcMs) std::abort();
    if (fix.headingDeg && !(*fix.headingDeg >= 0.0 && *fix.headingDeg <= 360.0)) std::abort();
  }
  if (!track.gps.empty() && track.layout.empty()) std::abort();
  return 0;
}
