// Finding where the APP1 segment goes in a JPEG and splicing it in.
#include "core/snapshot/JpegSegments.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace vx {
namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kApp0 = 0xE0;
constexpr std::uint8_t kApp1 = 0xE1;
constexpr std::size_t kMarkerSize = 2;

bool IsMarker(std::span<const std::uint8_t> bytes, std::size_t at) {
  return bytes.size() >= at + kMarkerSize && bytes[at] == kMarker && bytes[at + 1] != 0 && bytes[at + 1] != kMarker;
}

bool StartsWith(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view text) {
  return bytes.size() >= at + text.size() && std::equal(text.begin(), text.end(), bytes.begin() + at);
}

// Where the new segment goes: after SOI and a JFIF APP0 when there is one; nothing for a JFIF segment whose
// length runs past the end.
std::optional<std::size_t> InsertionPoint(std::span<const std::uint8_t> jpeg) {
  const std::size_t afterSoi = kMarkerSize;
  if (jpeg[afterSoi + 1] != kApp0 || !StartsWith(jpeg, afterSoi + 4, std::string_view("JFIF\0", 5))) return afterSoi;
  const std::size_t length = (std::size_t{jpeg[afterSoi + 2]} << 8) | jpeg[afterSoi + 3];
  const std::size_t afterApp0 = afterSoi + kMarkerSize + length;
  if (length < 2 || !IsMarker(jpeg, afterApp0)) return std::nullopt;
  return afterApp0;
}

}  // namespace

JpegEdit WithApp1Segment(std::span<const std::uint8_t> jpeg, std::span<const std::uint8_t> payload) {
  if (payload.size() > kLargestSegmentPayload) return {{}, "the EXIF block is larger than a JPEG segment holds"};
  if (jpeg.size() < 2 * kMarkerSize || jpeg[0] != kMarker || jpeg[1] != kStartOfImage || !IsMarker(jpeg, 2)) {
    return {{}, "not a JPEG image"};
  }
  const std::optional<std::size_t> at = InsertionPoint(jpeg);
  if (!at) return {{}, "damaged JFIF segment"};
  const std::size_t length = payload.size() + 2;
  JpegEdit edit;
  edit.bytes.reserve(jpeg.size() + kMarkerSize + length);
  edit.bytes.insert(edit.bytes.end(), jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(*at));
  edit.bytes.insert(edit.bytes.end(), {kMarker, kApp1, static_cast<std::uint8_t>(length >> 8),
                                       static_cast<std::uint8_t>(length)});
  edit.bytes.insert(edit.bytes.end(), payload.begin(), payload.end());
  edit.bytes.insert(edit.bytes.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(*at), jpeg.end());
  return edit;
}

}  // namespace vx
