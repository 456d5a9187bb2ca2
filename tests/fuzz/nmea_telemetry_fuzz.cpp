// Fuzzes the NMEA log reader with the input as the log beside a recording.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/telemetry/layouts/NmeaTelemetry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const vx::SideFiles side = [bytes](std::string_view) { return std::make_unique<vx::MemoryByteSource>(bytes); };
  for (const vx::GpsSample& fix : vx::ReadNmeaTelemetry(side).gps) {
    const bool headingOk = !fix.headingDeg || (*fix.headingDeg >= 0 && *fix.headingDeg <= 360);
    if (fix.valid && (std::abs(fix.latitude) > 90 || std::abs(fix.longitude) > 180 || !(fix.speedKmh >= 0) ||
                      !headingOk || (fix.latitude == 0 && fix.longitude == 0))) {
      std::abort();
    }
  }
  return 0;
}
