// Fuzzes the settings record: any 420 bytes decode, and encode back to the very same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/settings/SetupRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < vx::kSetupRecordSize) return 0;
  std::array<std::uint8_t, vx::kSetupRecordSize> bytes{};
  std::copy_n(data, bytes.size(), bytes.begin());
  if (vx::EncodeSetupRecord(vx::DecodeSetupRecord(bytes)) != bytes) std::abort();
  return 0;
}
