// Fuzzes the Pittasoft reader: the input is the recording and, when it holds no free box, the side files too.
#include "TrackChecks.h"
#include "core/telemetry/layouts/PittasoftTelemetry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  vx::fuzz::CheckTrack(vx::ReadPittasoftTelemetry(vx::MemoryByteSource(bytes), vx::fuzz::SideFilesOf(bytes)));
  return 0;
}
