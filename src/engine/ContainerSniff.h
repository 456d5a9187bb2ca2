// Chooses the demuxer of a recording from its first bytes, whatever the file is called.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vx {

// Bytes a caller reads from the start of a file for DemuxerFor: three transport-stream packets.
inline constexpr std::size_t kSniffLength = 3 * 188 + 4;

// "avidemux" (RIFF AVI), "qtdemux" (ISO media and QuickTime: MP4, MOV), "tsdemux" (MPEG transport
// stream, plain or with the 4-byte time code of M2TS); null for anything else.
const char* DemuxerFor(std::span<const std::uint8_t> head);

// DemuxerFor on the first bytes of the file at `path`; null when it cannot be read.
const char* DemuxerForFile(const std::string& path);

}  // namespace vx
