// Adding an APP1 (EXIF) segment to a JPEG file held in memory.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vx {

// A segment's length field counts itself and holds at most 0xFFFF.
inline constexpr std::size_t kLargestSegmentPayload = 0xFFFF - 2;

struct JpegEdit {
  std::vector<std::uint8_t> bytes;
  std::string error;  // empty on success, else why the JPEG was left as it was
};

// `jpeg` with an APP1 segment holding `payload` placed right after the start of image, or after a JFIF APP0
// segment that follows it (readers expect JFIF first). Refuses bytes that do not begin as a JPEG, an APP0
// that runs past the end, and a payload longer than a segment holds.
JpegEdit WithApp1Segment(std::span<const std::uint8_t> jpeg, std::span<const std::uint8_t> payload);

}  // namespace vx
