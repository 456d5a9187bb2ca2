// Fuzzes the container walk, the log payload and every record it yields, as the viewer drains them.
#include <cstddef>
#include <cstdint>

#include "core/telemetry/layouts/Vx880Telemetry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vx::ReadVx880Telemetry(vx::MemoryByteSource({data, size}));
  return 0;
}
