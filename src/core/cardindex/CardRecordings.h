// The recordings below a folder of a card, found by walking its tree.
#pragma once

#include <string>
#include <vector>

namespace vx {

// Every file below `folder` that the catalogue lists as a recording, sorted by path. Links to folders are
// not followed (no loops), the walk goes at most eight folders deep, and folders that cannot be read are
// passed over. Empty when `folder` is no folder.
std::vector<std::string> RecordingsBelow(const std::string& folder);

}  // namespace vx
