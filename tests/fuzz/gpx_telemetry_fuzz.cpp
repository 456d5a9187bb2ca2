// Fuzzes the GPX reader with the input as the track beside a recording and as an attached track.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/telemetry/layouts/GpxTelemetry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const vx::SideFiles side = [bytes](std::string_view) { return std::make_unique<vx::MemoryByteSource>(bytes); };
  const vx::TelemetryTrack beside = vx::ReadGpxTelemetry(side);
  const vx::TelemetryTrack attached = vx::ReadGpxText(bytes, 1718187300000, -5000);
  for (const vx::TelemetryTrack* track : {&beside, &attached}) {
    for (const vx::GpsSample& fix : track->gps) {
      const bool headingOk = !fix.headingDeg || (*fix.headingDeg >= 0 && *fix.headingDeg <= 360);
      if (!fix.valid || std::abs(fix.latitude) > 90 || std::abs(fix.longitude) > 180 || !(fix.speedKmh >= 0) ||
          !headingOk || !fix.utcMs || (fix.latitude == 0 && fix.longitude == 0)) {
        std::abort();
      }
    }
  }
  return 0;
}
