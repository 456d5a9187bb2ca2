// Checks the files a manifest names against their SHA-256, as `vx880-export --verify` reports them.
#pragma once

#include <string>
#include <vector>

#include "core/export/ExportManifest.h"

namespace vx {

struct ManifestCheck {
  std::string path;  // where the file was looked for
  enum class State { Matches, Differs, Missing } state = State::Missing;
};

// Every file of the manifest: originals below `cardRoot`, exported files and the GPX in `manifestFolder`.
std::vector<ManifestCheck> CheckManifest(const ExportManifest& manifest, const std::string& manifestFolder,
                                         const std::string& cardRoot);

// "matches", "DIFFERS" or "MISSING".
const char* CheckStateText(ManifestCheck::State state);

}  // namespace vx
