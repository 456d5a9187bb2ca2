// TIFF directory entries laid out big-endian, with the values longer than four bytes after the directory.
#include "core/snapshot/TiffDirectory.h"

#include <algorithm>

namespace vx {
namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

// Values of more than four bytes lie after the directory, each starting on an even offset.
std::uint32_t OutOfLineSize(const TiffEntry& entry) {
  return entry.value.size() > 4 ? static_cast<std::uint32_t>((entry.value.size() + 1) & ~std::size_t{1}) : 0;
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  PutU16(out, value >> 16);
  PutU16(out, value & 0xFFFF);
}

}  // namespace

void PutTiffHeader(std::vector<std::uint8_t>& out) {
  out.insert(out.end(), {'M', 'M'});
  PutU16(out, 42);
  PutU32(out, kFirstDirectoryOffset);
}

TiffEntry TiffAscii(std::uint16_t tag, const std::string& text) {
  std::vector<std::uint8_t> value(text.begin(), text.end());
  value.push_back(0);
  return {tag, TiffType::Ascii, static_cast<std::uint32_t>(value.size()), value};
}

TiffEntry TiffBytes(std::uint16_t tag, TiffType type, std::vector<std::uint8_t> value) {
  return {tag, type, static_cast<std::uint32_t>(value.size()), std::move(value)};
}

TiffEntry TiffLong(std::uint16_t tag, std::uint32_t number) {
  TiffEntry entry{tag, TiffType::Long, 1, {}};
  PutU32(entry.value, number);
  return entry;
}

TiffEntry TiffRationals(std::uint16_t tag, const std::vector<Rational>& numbers) {
  TiffEntry entry{tag, TiffType::Rational, static_cast<std::uint32_t>(numbers.size()), {}};
  for (const Rational& number : numbers) {
    PutU32(entry.value, number.numerator);
    PutU32(entry.value, number.denominator);
  }
  return entry;
}

std::uint32_t DirectoryHeadSize(std::size_t entryCount) { return 2 + 12 * static_cast<std::uint32_t>(entryCount) + 4; }

std::uint32_t DirectorySize(const std::vector<TiffEntry>& entries) {
  std::uint32_t size = DirectoryHeadSize(entries.size());
  for (const TiffEntry& entry : entries) size += OutOfLineSize(entry);
  return size;
}

void PutDirectory(std::vector<std::uint8_t>& out, std::vector<TiffEntry> entries, std::uint32_t offset) {
  std::sort(entries.begin(), entries.end(), [](const TiffEntry& a, const TiffEntry& b) { return a.tag < b.tag; });
  std::uint32_t dataOffset = offset + DirectoryHeadSize(entries.size());
  std::vector<std::uint8_t> data;
  PutU16(out, static_cast<std::uint32_t>(entries.size()));
  for (const TiffEntry& entry : entries) {
    PutU16(out, entry.tag);
    PutU16(out, static_cast<std::uint16_t>(entry.type));
    PutU32(out, entry.count);
    if (OutOfLineSize(entry) == 0) {
      std::vector<std::uint8_t> inline4 = entry.value;
      inline4.resize(4, 0);
      out.insert(out.end(), inline4.begin(), inline4.end());
      continue;
    }
    PutU32(out, dataOffset);
    data.insert(data.end(), entry.value.begin(), entry.value.end());
    data.resize(data.size() + (entry.value.size() & 1), 0);
    dataOffset += OutOfLineSize(entry);
  }
  PutU32(out, 0);
  out.insert(out.end(), data.begin(), data.end());
}

}  // namespace vx
