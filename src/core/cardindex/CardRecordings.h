// The recordings below a folder of a card, found by walking its tree.
#pragma once

#include <string>
#include <vector>

namespace vx {

// Every file below `folder` that the catalogue lists as a recording, sorted by path; the rear file of a front
// and rear pair in two files (PairOf) is left out where its front file is there. Links to folders are
// not followed (no loops), the walk goes at most eight folders deep, and folders that cannot be read are
// passed over. Empty when `folder` is no folder.
std::vector<std::string> RecordingsBelow(const std::string& folder);

}  // namespace vx
