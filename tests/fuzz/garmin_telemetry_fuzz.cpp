// Fuzzes the Garmin GPS uuid reader, the input being the recording; its track must pass CheckTrack.
#include <cstddef>
#include <cstdint>

#include "TrackChecks.h"
#include "core/telemetry/layouts/GarminTelemetry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vx::TelemetryTrack track = vx::ReadGarminTelemetry(vx::MemoryByteSource({data, size}));
  vx::fuzz::CheckTrack(track);
  return 0;
}
