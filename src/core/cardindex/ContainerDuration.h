// The playing time a recording's container states in its header: MP4/MOV `mvhd`, RIFF AVI `avih`.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/telemetry/ByteSource.h"

namespace vx {

// Milliseconds of the MP4/MOV movie header in `moov`, or of the AVI main header (microseconds per frame
// times total frames). Nothing for any other file, a damaged or cut header, an unknown duration, or one
// beyond what milliseconds in 32 bits hold.
std::optional<std::uint32_t> ContainerDurationMs(const ByteSource& file);

// The same for the file at `path`; nothing when it cannot be opened.
std::optional<std::uint32_t> ContainerDurationMs(const std::string& path);

}  // namespace vx
