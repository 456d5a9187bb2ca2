// The viewer program's command line, read and run as a user runs it: listing and screenshot, to its end.
#include <gtest/gtest.h>

#include <QDir>

#include <filesystem>
#include <fstream>

#include "ToolRunner.h"
#include "app/CommandLine.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;

TEST(PlayerCommandLine, TakesPathsAndOptionsAndRefusesWhatItDoesNotKnow) {
  QString error;
  const auto line = ReadPlayerCommandLine({"vx880-player", "--full-screen", "card", "--screenshot", "a.png",
                                           "--after", "2.5", "--", "--odd name.MP4"},
                                          error);
  ASSERT_TRUE(line);
  EXPECT_EQ(std::tuple(line->fullScreen, line->screenshot.toStdString(), line->afterMs),
            std::tuple(true, std::string("a.png"), 2500));
  EXPECT_EQ(line->paths, QStringList({QDir::currentPath() + "/card", QDir::currentPath() + "/--odd name.MP4"}));
  // The longest wait still fits the timer's milliseconds.
  EXPECT_EQ(ReadPlayerCommandLine({"p", "--after", "2147483"}, error).value_or(PlayerCommandLine{}).afterMs,
            2'147'483'000);
  for (const QStringList& bad :
       {QStringList{"p", "--fullscreen"}, QStringList{"p", "--after", "soon"}, QStringList{"p", "--after", "-1"},
        QStringList{"p", "--after", "2147484"}, QStringList{"p", "--after", "1e300"}, QStringList{"p", "--after", "nan"},
        QStringList{"p", "--screenshot"}}) {
    error.clear();
    EXPECT_FALSE(ReadPlayerCommandLine(bad, error)) << bad.join(' ').toStdString();
    EXPECT_FALSE(error.isEmpty());
  }
}

TEST(PlayerCommandLine, PathsThatNameNothingAreReportedAndTheOthersKept) {
  const TempDir dir("missing-paths");
  const QString kept = QString::fromStdString(dir.Path().string());
  const QString cwd = QDir::currentPath();
  QString error;
  std::optional<PlayerCommandLine> line = ReadPlayerCommandLine({"p", "gone.MP4", kept, "also gone"}, error);
  ASSERT_TRUE(line);
  EXPECT_EQ(DropMissingPaths(*line), "vx880-player: no such file or folder: " + cwd + "/gone.MP4\n"
                                     "vx880-player: no such file or folder: " + cwd + "/also gone\n");
  EXPECT_EQ(line->paths, QStringList{kept});
}

// Fault guarded: a screenshot asked for while the "Search Files" box was still open never ended the program.
// Enough folders and files that the search is still running when the first screenshot poll comes.
TEST(PlayerProgram, AScreenshotOfALargeFolderEndsTheProgramAndMissingPathsAreNamed) {
  const TempDir dir("player-program");
  for (int folder = 0; folder < 400; ++folder) {
    const std::string name = dir / ("card/" + std::to_string(folder));
    fs::create_directories(name);
    for (int file = 0; file < 100; ++file) std::ofstream(name + "/note" + std::to_string(file) + ".txt");
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
