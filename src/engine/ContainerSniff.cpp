// Recognising AVI, ISO media (MP4, MOV) and MPEG transport streams by their first bytes.
#include "engine/ContainerSniff.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

namespace vx {

namespace {

bool HasTag(std::span<const std::uint8_t> head, std::size_t at, const char* tag) {
  return head.size() >= at + 4 && std::memcmp(head.data() + at, tag, 4) == 0;
}

// Packets of 188 bytes each start with the sync byte 0x47; three in a row (or every one in a shorter
// file, at least two) rule out a chance match.
bool IsTransportStream(std::span<const std::uint8_t> head, std::size_t first) {
  constexpr std::size_t kPacket = 188;
  int packets = 0;
  for (std::size_t at = first; at < head.size() && packets < 3; at += kPacket, ++packets)
    if (head[at] != 0x47) return false;
  return packets >= 2;
}

}  // namespace

const char* DemuxerFor(std::span<const std::uint8_t> head) {
  if (HasTag(head, 0, "RIFF") && HasTag(head, 8, "AVI ")) return "avidemux";
  // QuickTime files may start with any of its top-level atoms, not only "ftyp".
  for (const char* box : {"ftyp", "moov", "mdat", "free", "skip", "wide", "pnot"})
    if (HasTag(head, 4, box)) return "qtdemux";
  if (IsTransportStream(head, 0) || IsTransportStream(head, 4)) return "tsdemux";
  return nullptr;
}

const char* DemuxerForFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::uint8_t> head(kSniffLength);
  file.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)));
  return DemuxerFor(head);
}

}  // namespace vx
