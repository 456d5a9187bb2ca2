// The data folder: beside the program in the build tree, <prefix>/share/vx880 in an installed tree.
#include "core/common/DataFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace vx {
namespace {

namespace fs = std::filesystem;

TEST(DataFolder, InstalledTreeWhereverItLiesElseBesideTheProgram) {
  const fs::path root = fs::temp_directory_path() / ("vx880-data-" + std::to_string(getpid()));
  fs::create_directories(root / "opt/vx/bin");
  fs::create_directories(root / "opt/vx/share/vx880");
  fs::create_directories(root / "build/bin");
  EXPECT_EQ(DataFolderOf(root / "opt/vx/bin/vx880-player"), root / "opt/vx/share/vx880");
  EXPECT_EQ(DataFolderOf(root / "build/bin/vx880-player"), root / "build/bin");
  fs::remove_all(root);
  // This test runs from the build tree, where the texts are copied beside the programs.
  EXPECT_TRUE(fs::exists(DataFolder() / "Setting.ini")) << DataFolder();
}

}  // namespace
}  // namespace vx
