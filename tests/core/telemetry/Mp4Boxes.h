// Writes MP4 boxes and byte strings for the telemetry fixtures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vx::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }
inline Bytes Be32(std::uint32_t v) { return {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)}; }

// A box of `type` with its 32-bit big-endian size in front of `payload`.
inline Bytes Box(const char* type, const Bytes& payload) {
  return Be32(static_cast<std::uint32_t>(payload.size() + 8)) + Bytes(type, type + 4) + payload;
}

}  // namespace vx::test
