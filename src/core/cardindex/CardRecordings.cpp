// Walks a card's tree without following links to folders, so that a loop of links cannot hold it.
#include "core/cardindex/CardRecordings.h"

#include <algorithm>
#include <filesystem>

#include "core/player/RecordingNames.h"

namespace vx {
namespace {

// Cameras keep recordings two or three folders below the card's root; eight leaves room for copies.
constexpr int kMaxDepth = 8;

// A rear file whose front file is there plays as that front's second picture: it is no recording of its own.
bool IsRearOfListedFront(const std::string& path) {
  const auto isRegularFile = [](const std::string& other) {
    std::error_code ec;
    return std::filesystem::is_regular_file(other, ec);
  };
  return PairOf(path, isRegularFile).rowPath != path;
}

}  // namespace

std::vector<std::string> RecordingsBelow(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> found;
  std::error_code ec;
  fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
  for (const fs::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
    if (it.depth() >= kMaxDepth) it.disable_recursion_pending();
    std::error_code typeError;
    const std::string path = it->path().string();
    if (IsListedRecording(it->path().filename().string()) && it->is_regular_file(typeError) &&
        !IsRearOfListedFront(path)) {
      found.push_back(path);
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace vx
