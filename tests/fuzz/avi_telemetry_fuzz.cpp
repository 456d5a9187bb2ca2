// Fuzzes the AVI gps0/gsen reader, the input being the recording; its track must pass CheckTrack.
#include <cstddef>
#include <cstdint>

#include "TrackChecks.h"
#include "core/telemetry/layouts/AviTelemetry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vx::TelemetryTrack track = vx::ReadAviTelemetry(vx::MemoryByteSource({data, size}));
  vx::fuzz::CheckTrack(track);
  return 0;
}
