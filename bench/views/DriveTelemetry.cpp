// Reading a simulated drive's records.
#include "DriveTelemetry.h"

#include "core/telemetry/TelemetryLog.h"
#include "core/telemetry/layouts/Vx880Telemetry.h"

namespace vx::test {

TelemetryTrack ReadDrive(const mkcard::DriveScript& script) {
  const std::vector<std::uint8_t> file = WrapMp4Box(EncodeTelemetryPayload(mkcard::SimulateDrive(script).records));
  return ReadVx880Telemetry(MemoryByteSource(file));
}

}  // namespace vx::test
