// SHA-256 (FIPS 180-4) of bytes and of files, as sha256sum prints it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vx {

class CSha256 {
 public:
  CSha256();
  void Update(const void* data, std::size_t size);
  // The digest as 64 lower-case hex digits; the object is spent afterwards.
  std::string HexDigest();

 private:
  void Block(const std::uint8_t* block);
  std::array<std::uint32_t, 8> m_aState;
  std::array<std::uint8_t, 64> m_aPending{};
  std::size_t m_nPending = 0;
  std::uint64_t m_nBytes = 0;
};

// The digest of a whole file read in blocks (memory stays flat); nothing when it cannot be read.
std::optional<std::string> FileSha256(const std::string& path);

}  // namespace vx
