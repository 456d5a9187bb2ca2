// Fuzzes the card index cache reader. Each input is read twice: as it stands (nearly always refused by its
// checksum) and sealed with a correct checksum, so that the record reader behind it meets every byte.
// Whatever the reader accepts must write back to the very same bytes. The reader takes the detector's default
// thresholds, which the dictionary holds as they are stored.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/cardindex/CardIndexCache.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vx::DecodeCardIndexCache({data, size}, {});
  std::vector<std::uint8_t> sealed(data, data + size);
  const auto crc = static_cast<std::uint32_t>(::crc32(0, data, static_cast<uInt>(size)));
  for (int i = 0; i < 4; ++i) sealed.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
  const vx::DecodedCardIndexCache decoded = vx::DecodeCardIndexCache(sealed, {});
  if (decoded.problem.empty() && vx::EncodeCardIndexCache(decoded.summaries, {}) != sealed) __builtin_trap();
  return 0;
}
