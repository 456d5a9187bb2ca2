// Fuzzes the container walk, the log payload and every record it yields, as the viewer drains them.
#include <cstddef>
#include <cstdint>

#include "core/telemetry/FileTelemetrySource.h"
#include "core/telemetry/TelemetryDrain.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vx::TelemetryLogResult result = vx::ReadTelemetryLog(vx::MemoryByteSource({data, size}));
  vx::FileTelemetrySource source;
  source.Assign(std::move(result.log));
  vx::CTextData textData;
  vx::DrainTelemetry(&source, textData);
  return 0;
}
