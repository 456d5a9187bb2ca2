// The viewer program run as a user runs it: command line, listing and screenshot, to its end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ToolRunner.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;

// Enough entries that the search is still running when the catalogue looks, so the "Search Files" box opens.
constexpr int kLargeFolderEntries = 5000;

TEST(PlayerProgram, AScreenshotOfALargeFolderEndsTheProgramAndMissingPathsAreNamed) {
  const TempDir dir("player-program");
  fs::create_directories(dir / "card");
  for (int i = 0; i < kLargeFolderEntries; ++i) std::ofstream(dir / ("card/note" + std::to_string(i) + ".txt"));
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
