// NMEA sentences for tests: a sentence body framed with '$' and its checksum, as a receiver writes it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vx::test {

inline std::string WithChecksum(const std::string& body) {
  std::uint8_t sum = 0;
  for (const char c : body) sum ^= static_cast<std::uint8_t>(c);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X", sum);
  return "$" + body + tail;
}

}  // namespace vx::test
