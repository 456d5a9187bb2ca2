// Fuzzes the GPMF track reader: the input is the recording, its sample tables and its gpmd samples.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/telemetry/layouts/GpmfTelemetry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vx::TelemetryTrack track = vx::ReadGpmfTelemetry(vx::MemoryByteSource({data, size}));
  for (const vx::GpsSample& fix : track.gps) {
    if (fix.valid && (std::abs(fix.latitude) > 90 || std::abs(fix.longitude) > 180 || !(fix.speedKmh >= 0))) std::abort();
  }
  for (const vx::AccelSample& a : track.accel) {
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(a.z)) std::abort();
  }
  return 0;
}
