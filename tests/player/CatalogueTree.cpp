// Test folder trees and event-loop waits.
#include "CatalogueTree.h"

#include <QTest>
#include <fstream>

namespace vx::test {

void MakeFile(const std::filesystem::path& path, std::uint64_t bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).flush();
  std::filesystem::resize_file(path, bytes);
}

int MakeLargeTree(const std::filesystem::path& root, int folders, int filesPerFolder) {
  for (int f = 0; f < folders; ++f) {
    for (int i = 0; i < filesPerFolder; ++i) {
      MakeFile(root / ("folder" + std::to_string(f)) / ("20261206_1015" + std::to_string(i) + "_D01.AVI"));
    }
  }
  return folders * filesPerFolder;
}

bool WaitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 60'000); }

}  // namespace vx::test
