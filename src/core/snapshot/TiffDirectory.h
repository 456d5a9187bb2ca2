// Writing TIFF directories (big-endian), the structure EXIF blocks are made of.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vx {

enum class TiffType : std::uint16_t { Byte = 1, Ascii = 2, Long = 4, Rational = 5, Undefined = 7 };

struct TiffEntry {
  std::uint16_t tag;
  TiffType type;
  std::uint32_t count;
  std::vector<std::uint8_t> value;  // big-endian, as it is stored
};

struct Rational {
  std::uint32_t numerator;
  std::uint32_t denominator;
};

// The first directory follows the header at once.
inline constexpr std::uint32_t kFirstDirectoryOffset = 8;

// Appends the byte order mark ("MM"), 42 and the offset of the first directory.
void PutTiffHeader(std::vector<std::uint8_t>& out);

TiffEntry TiffAscii(std::uint16_t tag, const std::string& text);  // with its closing zero
TiffEntry TiffBytes(std::uint16_t tag, TiffType type, std::vector<std::uint8_t> value);
TiffEntry TiffLong(std::uint16_t tag, std::uint32_t number);
TiffEntry TiffRationals(std::uint16_t tag, const std::vector<Rational>& numbers);

// The count, the entries and the (zero) offset of the next directory.
std::uint32_t DirectoryHeadSize(std::size_t entryCount);
// The whole directory with the values that lie after it.
std::uint32_t DirectorySize(const std::vector<TiffEntry>& entries);
// Appends the directory as it lies at `offset` from the TIFF header: entries in tag order, no next directory.
void PutDirectory(std::vector<std::uint8_t>& out, std::vector<TiffEntry> entries, std::uint32_t offset);

}  // namespace vx
