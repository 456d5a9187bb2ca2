// Box headers (32-bit, 64-bit and to-the-end sizes) checked against the range that holds them.
#include "core/telemetry/layouts/Mp4Boxes.h"

#include <algorithm>

#include "core/telemetry/layouts/SideFiles.h"

namespace vx {
namespace {

std::uint64_t Be(const std::uint8_t* p, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
  return value;
}

std::string At(std::uint64_t offset) { return " at byte " + std::to_string(offset); }

}  // namespace

void WalkMp4Boxes(const ByteSource& source, std::uint64_t begin, std::uint64_t end,
                  const std::function<bool(const Mp4Box&)>& visit, std::string& warning) {
  end = std::min(end, source.Size());
  std::uint64_t at = begin;
  std::array<std::uint8_t, 16> head{};
  while (at < end) {
    if (end - at < 8 || !source.Read(at, std::span(head).first(8))) {
      warning = "box header cut short" + At(at);
      return;
    }
    std::uint64_t size = Be(head.data(), 4);
    std::uint64_t headerSize = 8;
    if (size == 1) {  // a 64-bit size follows the type
      if (end - at < 16 || !source.Read(at + 8, std::span(head).subspan(8, 8))) {
        warning = "box header cut short" + At(at);
        return;
      }
      size = Be(head.data() + 8, 8);
      headerSize = 16;
    } else if (size == 0) {  // the box runs to the end of what holds it
      size = end - at;
    }
    if (size < headerSize) {
      warning = "damaged box size" + At(at);
      return;
    }
    Mp4Box box;
    std::copy_n(head.begin() + 4, 4, box.type.begin());
    box.payloadOffset = at + headerSize;
    box.cut = size > end - at;
    box.payloadSize = std::min(size, end - at) - headerSize;
    if (!visit(box) || box.cut) return;
    at += size;
  }
}

std::optional<Mp4Box> FindMp4Box(const ByteSource& source, std::uint64_t begin, std::uint64_t end,
                                 const char* type) {
  std::optional<Mp4Box> found;
  std::string damage;  // a damaged header simply means the box is not there
  WalkMp4Boxes(
      source, begin, end,
      [&](const Mp4Box& box) {
        if (box.Is(type)) found = box;
        return !found;
      },
      damage);
  return found;
}

std::vector<std::uint8_t> ReadPayload(const ByteSource& source, const Mp4Box& box, std::string& warning) {
  std::vector<std::uint8_t> bytes(std::min(box.payloadSize, kMaxTelemetryPartBytes));
  if (bytes.size() < box.payloadSize) warning = "telemetry part larger than read" + At(box.payloadOffset);
  if (!source.Read(box.payloadOffset, bytes)) {
    warning = "telemetry part could not be read" + At(box.payloadOffset);
    bytes.clear();
  }
  return bytes;
}

}  // namespace vx
