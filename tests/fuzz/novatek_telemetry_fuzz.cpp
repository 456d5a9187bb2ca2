// Fuzzes the Novatek freeGPS reader over any bytes: no crash, every fix it calls valid is in range at a
// believable speed, and a track names its layout.
#include "TrackChecks.h"
#include "core/telemetry/layouts/NovatekTelemetry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vx::TelemetryTrack track = vx::ReadNovatekTelemetry(vx::MemoryByteSource({data, size}));
  vx::fuzz::CheckFixDetails(track, true);
  for (const vx::GpsSample& fix : track.gps)
    if (fix.valid && !(fix.speedKmh < 1000.0)) std::abort();
  if (!track.gps.empty() && track.layout.empty()) std::abort();
  return 0;
}
