// Fuzzes the Pittasoft reader: the input is the recording and, when it holds no free box, the side files too.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/telemetry/layouts/PittasoftTelemetry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const vx::SideFiles side = [bytes](std::string_view) { return std::make_unique<vx::MemoryByteSource>(bytes); };
  const vx::TelemetryTrack track = vx::ReadPittasoftTelemetry(vx::MemoryByteSource(bytes), side);
  for (const vx::GpsSample& fix : track.gps) {
    if (fix.valid && (std::abs(fix.latitude) > 90 || std::abs(fix.longitude) > 180 || !(fix.speedKmh >= 0))) std::abort();
  }
  for (const vx::AccelSample& a : track.accel) {
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(a.z)) std::abort();
  }
  return 0;
}
