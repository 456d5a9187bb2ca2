// Reading a side file whole, within the bound every telemetry part is held to.
#include "core/telemetry/layouts/SideFiles.h"

#include <algorithm>

namespace vx {

SideFiles SideFilesOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const std::string base = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                               ? path.substr(0, dot) : path;
  return [base](std::string_view suffix) -> std::unique_ptr<ByteSource> {
    std::string error;
    return FileByteSource::Open(base + std::string(suffix), error);
  };
}

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
