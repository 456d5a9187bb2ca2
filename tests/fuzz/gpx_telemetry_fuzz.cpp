// Fuzzes the GPX reader with the input as the track beside a recording and as an attached track: every fix it
// hands out is valid.
#include "TrackChecks.h"
#include "core/telemetry/layouts/GpxTelemetry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  for (const vx::TelemetryTrack& track :
       {vx::ReadGpxTelemetry(vx::fuzz::SideFilesOf(bytes)), vx::ReadGpxText(bytes, 1718187300000, -5000)}) {
    vx::fuzz::CheckFixDetails(track, true);
    for (const vx::GpsSample& fix : track.gps)
      if (!fix.valid) std::abort();
  }
  return 0;
}
