// Reading a side file whole, within the bound every telemetry part is held to.
#include "core/telemetry/layouts/SideFiles.h"

#include <algorithm>

namespace vx {

std::vector<std::uint8_t> ReadWhole(const ByteSource& source, std::string& warning) {
  std::vector<std::uint8_t> bytes(std::min(source.Size(), kMaxTelemetryPartBytes));
  if (bytes.size() < source.Size()) warning = "side file larger than read";
  if (!source.Read(0, bytes)) {
    warning = "side file could not be read";
    bytes.clear();
  }
  return bytes;
}

}  // namespace vx
