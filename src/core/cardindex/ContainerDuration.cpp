// Reads `moov/mvhd` with the bounded MP4 box walk, and `RIFF AVI /LIST hdrl/avih` with a like walk over chunks.
#include "core/cardindex/ContainerDuration.h"

#include <array>
#include <cstring>
#include <limits>
#include <span>

#include "core/telemetry/layouts/Mp4Boxes.h"

namespace vx {
namespace {

constexpr std::uint64_t kMaxMs = std::numeric_limits<std::uint32_t>::max();

std::uint64_t Be(const std::uint8_t* p, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
  return value;
}

std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

// `units` of 1/`perSecond` s in ms, without overflowing on 64-bit durations; nothing past kMaxMs.
std::optional<std::uint32_t> ToMs(std::uint64_t units, std::uint64_t perSecond) {
  if (perSecond == 0) return std::nullopt;
  const std::uint64_t seconds = units / perSecond;
  if (seconds > kMaxMs / 1000) return std::nullopt;
  const std::uint64_t ms = seconds * 1000 + (units % perSecond) * 1000 / perSecond;
  if (ms > kMaxMs) return std::nullopt;
  return static_cast<std::uint32_t>(ms);
}

// mvhd payload: version and flags, then creation and modification times, timescale and duration, the
// times and duration 32-bit in version 0 and 64-bit in version 1. All ones means "not known".
std::optional<std::uint32_t> Mp4DurationMs(const ByteSource& file) {
  const auto moov = FindMp4Box(file, 0, file.Size(), "moov");
  if (!moov || moov->cut) return std::nullopt;  // a movie header in a cut file describes media not there
  const auto mvhd = FindMp4Box(file, moov->payloadOffset, moov->payloadOffset + moov->payloadSize, "mvhd");
  std::array<std::uint8_t, 32> head{};
  if (!mvhd || mvhd->cut || mvhd->payloadSize < 20 || !file.Read(mvhd->payloadOffset, std::span(head).first(20))) {
    return std::nullopt;
  }
  if (head[0] == 0) {
    const std::uint64_t duration = Be(&head[16], 4);
    if (duration == 0xFFFFFFFFu) return std::nullopt;
    return ToMs(duration, Be(&head[12], 4));
  }
  if (head[0] != 1 || mvhd->payloadSize < 32 || !file.Read(mvhd->payloadOffset, head)) return std::nullopt;
  const std::uint64_t duration = Be(&head[24], 8);
  if (duration == std::numeric_limits<std::uint64_t>::max()) return std::nullopt;
  return ToMs(duration, Be(&head[20], 4));
}

// The first chunk `id` (a `LIST` of `listType` when id is LIST) in [begin, end), whole and inside the range.
std::optional<Mp4Box> FindRiffChunk(const ByteSource& file, std::uint64_t begin, std::uint64_t end, const char* id,
                                    const char* listType = nullptr) {
  std::array<std::uint8_t, 12> head{};
  for (std::uint64_t at = begin; at < end && end - at >= 8;) {
    if (!file.Read(at, std::span(head).first(8))) return std::nullopt;
    const std::uint64_t size = Le32(&head[4]);
    if (size > end - at - 8) return std::nullopt;
    const bool isList = std::memcmp(head.data(), "LIST", 4) == 0;
    if (std::memcmp(head.data(), id, 4) == 0) {
      if (!listType) return Mp4Box{{}, at + 8, size, false};
      if (isList && size >= 4 && file.Read(at + 8, std::span(head).subspan(8, 4)) &&
          std::memcmp(&head[8], listType, 4) == 0) {
        return Mp4Box{{}, at + 12, size - 4, false};
      }
    }
    at += 8 + size + (size & 1);  // chunks are padded to an even size
  }
  return std::nullopt;
}

// avih: microseconds per frame, then three words, then the total frames of the first RIFF list.
std::optional<std::uint32_t> AviDurationMs(const ByteSource& file) {
  std::array<std::uint8_t, 20> head{};
  if (!file.Read(0, std::span(head).first(12)) || std::memcmp(head.data(), "RIFF", 4) != 0 ||
      std::memcmp(&head[8], "AVI ", 4) != 0) {
    return std::nullopt;
  }
  const std::uint64_t riffEnd = std::min<std::uint64_t>(file.Size(), 8ull + Le32(&head[4]));
  const auto hdrl = FindRiffChunk(file, 12, riffEnd, "LIST", "hdrl");
  if (!hdrl) return std::nullopt;
  const auto avih = FindRiffChunk(file, hdrl->payloadOffset, hdrl->payloadOffset + hdrl->payloadSize, "avih");
  if (!avih || avih->payloadSize < 20 || !file.Read(avih->payloadOffset, head)) return std::nullopt;
  return ToMs(std::uint64_t(Le32(&head[0])) * Le32(&head[16]), 1000000);
}

}  // namespace

std::optional<std::uint32_t> ContainerDurationMs(const ByteSource& file) {
  std::array<std::uint8_t, 4> magic{};
  if (!file.Read(0, magic)) return std::nullopt;
  return std::memcmp(magic.data(), "RIFF", 4) == 0 ? AviDurationMs(file) : Mp4DurationMs(file);
}

std::optional<std::uint32_t> ContainerDurationMs(const std::string& path) {
  std::string error;
  const auto file = FileByteSource::Open(path, error);
  if (!file) return std::nullopt;
  return ContainerDurationMs(*file);
}

}  // namespace vx
