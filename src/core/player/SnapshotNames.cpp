// Snapshot file names.
#include "core/player/SnapshotNames.h"

namespace vx {
namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The text without its last `count` UTF-8 characters.
std::string_view WithoutLastCharacters(std::string_view text, int count) {
  std::size_t end = text.size();
  for (int i = 0; i < count && end > 0; ++i) {
    --end;
    while (end > 0 && IsContinuationByte(text[end])) --end;
  }
  return text.substr(0, end);
}

}  // namespace

std::string SnapshotDefaultName(std::string_view recordingPath) {
  return std::string(WithoutLastCharacters(recordingPath, 4)) + ".jpg";
}

std::string SnapshotBaseName(std::string_view chosenPath) {
  const auto nameStart = chosenPath.find_last_of('/');
  const auto dot = chosenPath.find_last_of('.');
  const bool inName = dot != std::string_view::npos && (nameStart == std::string_view::npos || dot > nameStart);
  return std::string(inName ? chosenPath.substr(0, dot) : chosenPath);
}

SnapshotFiles SnapshotFileNames(std::string_view chosenPath) {
  const std::string base = SnapshotBaseName(chosenPath);
  return {base + "_front.jpg", base + "_rear.jpg", base + "_front-zoom.jpg", base + "_rear-zoom.jpg"};
}

}  // namespace vx
