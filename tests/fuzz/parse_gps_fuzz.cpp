// Fuzzes the RMC grammar, both as plain text and as a full 1024-byte record buffer without a terminator.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/telemetry/RecordParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vx::CGPSData sample;
  vx::ParseGps(sample, 0, std::string_view(reinterpret_cast<const char*>(data), size));
  vx::RecordBuffer buffer;
  buffer.fill('7');
  buffer[0] = 'G';
  std::copy_n(data, std::min(size, buffer.size() - 1), buffer.begin() + 1);
  vx::CTextData textData;
  vx::ParseRecord(0, buffer, textData);
  return 0;
}
