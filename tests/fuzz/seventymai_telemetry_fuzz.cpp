// Fuzzes the 70mai GPS box reader, the input being the recording; its track must pass CheckTrack.
#include <cstddef>
#include <cstdint>

#include "TrackChecks.h"
#include "core/telemetry/layouts/SeventyMaiTelemetry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vx::TelemetryTrack track = vx::ReadSeventyMaiTelemetry(vx::MemoryByteSource({data, size}));
  vx::fuzz::CheckTrack(track);
  return 0;
}
