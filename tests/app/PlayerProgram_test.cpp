// The viewer program run as a user runs it: command line, listing and screenshot, to its end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ToolRunner.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;

// Enough folders and files that the search is still running when the first screenshot poll comes, so the
// screenshot is asked for while the "Search Files" box is open (fewer made the box close before it).
constexpr int kLargeFolderFolders = 400;
constexpr int kFilesPerFolder = 100;

TEST(PlayerProgram, AScreenshotOfALargeFolderEndsTheProgramAndMissingPathsAreNamed) {
  const TempDir dir("player-program");
  for (int folder = 0; folder < kLargeFolderFolders; ++folder) {
    const std::string name = dir / ("card/" + std::to_string(folder));
    fs::create_directories(name);
    for (int file = 0; file < kFilesPerFolder; ++file) std::ofstream(name + "/note" + std::to_string(file) + ".txt");
  }
  const std::string shot = dir / "shot.png";
  // The time limit only turns a hang into a failure.
  const ToolOutput run = RunTool("XDG_CONFIG_HOME=" + Quote(dir / "config") + " timeout 120 " + Tool("vx880-player") +
                                 " --screenshot " + Quote(shot) + " " + Quote(dir / "gone") + " " +
                                 Quote(dir / "card") + " 2>&1");
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_TRUE(fs::exists(shot));
  EXPECT_NE(run.out.find("vx880-player: no such file or folder: " + (dir / "gone") + "\n"), std::string::npos)
      << run.out;
}

}  // namespace
}  // namespace vx::test
