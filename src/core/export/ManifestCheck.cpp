// Re-computes the SHA-256 of each file a manifest names.
#include "core/export/ManifestCheck.h"

#include "core/common/Sha256.h"

namespace vx {

std::vector<ManifestCheck> CheckManifest(const ExportManifest& manifest, const std::string& manifestFolder,
                                         const std::string& cardRoot) {
  std::vector<ManifestCheck> checks;
  for (const ManifestFile& file : manifest.files) {
    const std::string& folder = file.role == ManifestFile::Role::Original ? cardRoot : manifestFolder;
    ManifestCheck check{(folder.empty() ? std::string(".") : folder) + "/" + file.path};
    const std::optional<std::string> sha = FileSha256(check.path);
    check.state = !sha ? ManifestCheck::State::Missing
                  : *sha == file.sha256 ? ManifestCheck::State::Matches
                                        : ManifestCheck::State::Differs;
    checks.push_back(check);
  }
  return checks;
}

const char* CheckStateText(ManifestCheck::State state) {
  switch (state) {
    case ManifestCheck::State::Matches: return "matches";
    case ManifestCheck::State::Differs: return "DIFFERS";
    case ManifestCheck::State::Missing: return "MISSING";
  }
  return "";
}

}  // namespace vx
