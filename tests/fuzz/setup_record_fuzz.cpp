// Fuzzes the settings record as the dialog meets it: any 420 bytes decode, encode back to the same bytes, show
// on the controls and save again, and a save of unchanged controls shows the same controls.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/settings/SettingChoices.h"
#include "core/settings/SetupRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < vx::kSetupRecordSize) return 0;
  std::array<std::uint8_t, vx::kSetupRecordSize> bytes{};
  std::copy_n(data, bytes.size(), bytes.begin());
  const vx::SetupRecord record = vx::DecodeSetupRecord(bytes);
  if (vx::EncodeSetupRecord(record) != bytes) std::abort();

  const vx::SettingChoices shown = vx::ChoicesFromRecord(record);
  const auto saved = vx::CollectRecord(record, shown, record.nTimeZone, vx::ZoneTime{});
  if (!saved) std::abort();  // every text a card holds can be saved back
  vx::SettingChoices again = vx::ChoicesFromRecord(*saved);
  again.hdVga = shown.hdVga;  // a save always writes HD
  if (again != shown) std::abort();
  return 0;
}
