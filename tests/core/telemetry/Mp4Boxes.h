// Writes MP4 boxes, RIFF chunks and byte strings for the telemetry fixtures.
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
inline Bytes Be16(std::uint32_t v) { return {std::uint8_t(v >> 8), std::uint8_t(v)}; }
inline Bytes Be32(std::uint32_t v) { return {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)}; }
// The low `bytes` bytes of `v`, little-endian.
inline Bytes Le(std::uint64_t v, int bytes) {
  Bytes b;
  for (int i = 0; i < bytes; ++i) b.push_back(std::uint8_t(v >> 8 * i));
  return b;
}
// `b` without its last `dropped` bytes: a file cut short.
inline Bytes Cut(const Bytes& b, std::size_t dropped) { return Bytes(b.begin(), b.end() - std::ptrdiff_t(dropped)); }

// A box of `type` with its 32-bit big-endian size in front of `payload`.
inline Bytes Box(const char* type, const Bytes& payload) {
  return Be32(static_cast<std::uint32_t>(payload.size() + 8)) + Bytes(type, type + 4) + payload;
}
inline const Bytes kFtyp = Box("ftyp", Text("isom") + Bytes{0, 0, 2, 0} + Text("isommp41"));
inline const Bytes kMvhd = Box("mvhd", Bytes(12, 0) + Be32(1000) + Bytes(84, 0));  // time scale 1000

// A RIFF chunk: little-endian size, payload padded to an even length.
inline Bytes Chunk(const char* id, const Bytes& payload) {
  Bytes b = Text(id) + Le(payload.size(), 4) + payload;
  if (payload.size() % 2) b.push_back(0);
  return b;
}
inline Bytes List(const char* id, const char* type, const Bytes& chunks) {
  return Text(id) + Le(chunks.size() + 4, 4) + Text(type) + chunks;
}

}  // namespace vx::test
