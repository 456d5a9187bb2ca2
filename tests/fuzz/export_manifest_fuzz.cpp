// Fuzzes the export manifest reader: any bytes are read or refused with a reason, and what is read writes
// back to a text that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/export/ExportManifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  const auto manifest = vx::ReadManifest(std::string_view(reinterpret_cast<const char*>(data), size), error);
  if (!manifest) {
    if (error.empty()) std::abort();
    return 0;
  }
  const std::string written = vx::WriteManifest(*manifest);
  std::string again;
  const auto reread = vx::ReadManifest(written, again);
  if (!reread || vx::WriteManifest(*reread) != written) std::abort();
  return 0;
}
