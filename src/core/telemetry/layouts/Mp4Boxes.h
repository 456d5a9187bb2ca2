// A bounded walk over MP4 boxes lying between two offsets of a file (the top level, or one box's payload).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/telemetry/ByteSource.h"

namespace vx {

struct Mp4Box {
  std::array<char, 4> type{};
  std::uint64_t payloadOffset = 0;
  std::uint64_t payloadSize = 0;  // cut at the end of the enclosing range when the box claims more
  bool cut = false;               // the box claimed more than its enclosing range holds

  bool Is(const char* tag) const { return std::equal(type.begin(), type.end(), tag); }
};

// Calls `visit` for each box in [begin, end) until it returns false. A box whose header is damaged ends the
// walk with one line in `warning`; a box running past `end` is handed over cut, and is the last one.
void WalkMp4Boxes(const ByteSource& source, std::uint64_t begin, std::uint64_t end,
                  const std::function<bool(const Mp4Box&)>& visit, std::string& warning);

// The first box of `type` in [begin, end), a cut one included; the walk ends at a box running past `end`.
std::optional<Mp4Box> FindMp4Box(const ByteSource& source, std::uint64_t begin, std::uint64_t end,
                                 const char* type);

// Reads the box's payload, at most kMaxTelemetryPartBytes of it (a warning names what was left).
std::vector<std::uint8_t> ReadPayload(const ByteSource& source, const Mp4Box& box, std::string& warning);

}  // namespace vx
