// Opens the files a camera writes beside a recording (same base name, another suffix) for the readers.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/telemetry/ByteSource.h"

namespace vx {

// Given a suffix such as ".gps", ".3gf" or ".NMEA", the bytes of the file beside the recording with that
// suffix, or nullptr when there is none. Tests hand out memory; the viewer opens files.
using SideFiles = std::function<std::unique_ptr<ByteSource>(std::string_view suffix)>;

// The largest telemetry part or side file a reader takes into memory; the rest is left with a warning.
inline constexpr std::uint64_t kMaxTelemetryPartBytes = 64ull << 20;

// The files beside the recording at `path`: its path without the extension, plus the suffix.
SideFiles SideFilesOf(const std::string& path);

// The whole of a side file (up to kMaxTelemetryPartBytes); empty when it cannot be read.
std::vector<std::uint8_t> ReadWhole(const ByteSource& source, std::string& warning);

}  // namespace vx
