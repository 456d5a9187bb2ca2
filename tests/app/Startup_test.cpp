// Start-up and exit: the decoder setting held at 0 while the viewer runs and put back, the command line, and
// the program run as a user runs it, to its end.
#include <gtest/gtest.h>

#include <QDir>

#include <filesystem>
#include <ctime>
#include <fstream>

#include "ReadOnlyFolder.h"
#include "TestMedia.h"
#include "ToolRunner.h"
#include "app/CQuelmarApp.h"
#include "app/CommandLine.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;

// A settings store of its own; the test is the shell, so it sees the messages and the setting while the
// main window is open.
class StartupTest : public ::testing::Test, public IStartupShell {
 protected:
  void ShowMessage(const std::string& text) override { m_messages.push_back(text); }
  void RunMainDialog() override { m_seenWhileRunning = Setting(); }

  std::optional<std::uint32_t> Setting() const { return m_store.ReadDword(kDecoderKey, kMultipleInstances); }
  // Runs the viewer once; answers the setting as seen while its main window was open.
  std::optional<std::uint32_t> RunViewer() {
    CQuelmarApp app(m_store, *this);
    EXPECT_FALSE(app.InitInstance());
    app.ExitInstance();
    return m_seenWhileRunning;
  }

  const TempDir m_dir{"startup"};
  CSettingsStore m_store{m_dir.Path() / "settings.reg"};
  std::vector<std::string> m_messages;
  std::optional<std::uint32_t> m_seenWhileRunning;
};

TEST_F(StartupTest, TheSettingReadsZeroWhileRunningAndTheUsersValueComesBackAtExitButNotAfterAKill) {
  EXPECT_EQ(RunViewer(), 0u);
  EXPECT_EQ(Setting(), 0u) << "a missing key is created with 0";

  ASSERT_TRUE(m_store.WriteDword(kDecoderKey, kMultipleInstances, 2));
  ASSERT_TRUE(m_store.WriteDword(kDecoderKey, "other", 7));
  EXPECT_EQ(RunViewer(), 0u);
  EXPECT_EQ(Setting(), 2u);
  EXPECT_EQ(m_store.ReadDword(kDecoderKey, "other"), 7u);

  CQuelmarApp killed(m_store, *this);
  killed.InitInstance();  // no ExitInstance: the process died
  RunViewer();
  EXPECT_EQ(Setting(), 0u) << "the next start takes the 0 the killed one left for the user's value";
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(StartupTest, AStoreThatCannotBeWrittenShowsTheMessageOnceAndWritesNothing) {
  const ReadOnlyFolder readOnly(m_dir.Path());
  ASSERT_EQ(readOnly.Error(), "");
  EXPECT_EQ(RunViewer(), std::nullopt);
  EXPECT_FALSE(fs::exists(m_store.File()));
  EXPECT_EQ(m_messages, std::vector<std::string>{kDecoderMissingMessage});
}

// Paths as names and texts keep every byte, beside the 32-bit values; a deleted value is gone.
TEST_F(StartupTest, TheStoreKeepsTextsWithAnyBytes) {
  const std::string name = "/card/a=b[1]%41.mp4", text = "-5 /p/\xC3\xBC\n=x].gpx";
  ASSERT_TRUE(m_store.WriteText("Viewer", name, text));
  ASSERT_TRUE(m_store.WriteDword("Viewer", "n", 3));
  EXPECT_EQ(m_store.ReadText("Viewer", name), text);
  EXPECT_EQ(m_store.ReadDword("Viewer", "n"), 3u);
  ASSERT_TRUE(m_store.DeleteValue("Viewer", name));
  EXPECT_EQ(m_store.ReadText("Viewer", name), std::nullopt);
  EXPECT_EQ(m_store.ReadDword("Viewer", "n"), 3u);
}

TEST_F(StartupTest, TheStoreSkipsDamagedLinesAndKeepsTheRest) {
  std::ofstream(m_store.File()) << "garbage\n[Software\\GNU\\ffdshow]\nmultipleInstances=3\nbad=-1\nx=99999999999\n";
  EXPECT_EQ(Setting(), 3u);
  EXPECT_FALSE(m_store.ReadDword(kDecoderKey, "bad") || m_store.ReadDword(kDecoderKey, "x"));
  EXPECT_TRUE(m_store.WriteDword("Other", "v", 1));
  EXPECT_EQ(Setting(), 3u);
}

TEST(PlayerCommandLine, TakesPathsAndOptionsRefusesWhatItDoesNotKnowAndNamesPathsThatNameNothing) {
  const QString cwd = QDir::currentPath();
  const QString kept = QDir::tempPath();
  QString error;
  auto line = ReadPlayerCommandLine({"vx880-player", "--full-screen", "card", "--screenshot", "a.png", "--after",
                                     "2.5", kept, "--", "--odd name.MP4"},
                                    error);
  ASSERT_TRUE(line);
  EXPECT_EQ(std::tuple(line->fullScreen, line->screenshot.toStdString(), line->afterMs),
            std::tuple(true, std::string("a.png"), 2500));
  EXPECT_EQ(line->paths, QStringList({cwd + "/card", kept, cwd + "/--odd name.MP4"}));
  EXPECT_EQ(DropMissingPaths(*line), "vx880-player: no such file or folder: " + cwd + "/card\n"
                                     "vx880-player: no such file or folder: " + cwd + "/--odd name.MP4\n");
  EXPECT_EQ(line->paths, QStringList{kept});
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

// Only the speed buttons' rates are taken, as typed in any decimal spelling; the option stands anywhere.
TEST(PlayerCommandLine, SpeedTakesTheButtonsRatesOnlyAndQuitAtEndIsAFlag) {
  const struct {
    const char* rate;
    int step;  // 0: refused
  } cases[] = {{"0.5", 2}, {"0.6", 3}, {"0.8", 4}, {"1", 5},   {"1.0", 5},  {"1.20", 6}, {"1.4", 7},
               {"1.6", 8}, {"1.8", 9}, {"2", 10},  {"2.0", 10}, {"0.4", 0},  {"0.7", 0},  {"0.55", 0},
               {"2.2", 0}, {"0", 0},   {"-1", 0},  {"nan", 0},  {"fast", 0}, {"", 0}};
  for (const auto& c : cases) {
    QString error;
    const auto line = ReadPlayerCommandLine({"p", "card", "--speed", c.rate, "--quit-at-end"}, error);
    if (c.step == 0) {
      EXPECT_FALSE(line) << c.rate;
      EXPECT_TRUE(error.contains("--speed")) << c.rate;
      continue;
    }
    ASSERT_TRUE(line) << c.rate << ": " << error.toStdString();
    EXPECT_EQ(std::tuple(line->speedStep, line->quitAtEnd, line->paths.size()), std::tuple(c.step, true, 1))
        << c.rate;
    EXPECT_EQ(SpeedRate(c.step), QString(c.rate).toFloat()) << c.rate;
  }
  QString error;
  const auto plain = ReadPlayerCommandLine({"p"}, error);
  ASSERT_TRUE(plain);
  EXPECT_EQ(std::tuple(plain->speedStep, plain->quitAtEnd), std::tuple(kNormalSpeedStep, false));
  EXPECT_FALSE(ReadPlayerCommandLine({"p", "--speed"}, error));
}

// A run can be timed from outside: the program ends by itself after the last row, 0 when it played, 1 when
// the list held nothing to play. The time limit only turns a hang into a failure.
TEST(PlayerProgram, QuitAtEndEndsTheProgramAfterTheLastRow) {
  const TempDir dir("quit-at-end");
  const std::string recording = CardFile("quit-at-end.MP4", "--streams 2 --seconds 2");
  const struct {
    std::string paths;
    int status;
  } cases[] = {{Quote(recording), 0}, {Quote(dir / "empty"), 1}};
  std::filesystem::create_directories(dir / "empty");
  for (const auto& c : cases) {
    const ToolOutput run = RunTool("XDG_CONFIG_HOME=" + Quote(dir / "config") + " timeout 120 " +
                                   Tool("vx880-player") + " --speed 2.0 --quit-at-end " + c.paths + " 2>&1");
    EXPECT_EQ(run.status, c.status) << c.paths << "\n" << run.out;
  }
}

// A start can be timed from outside: the moment the first front picture is on screen is printed on the
// system's monotonic clock, between the program's start and its end, and the program ends with 0.
TEST(PlayerProgram, TimeFirstPicturePrintsTheMomentOnTheMonotonicClock) {
  const TempDir dir("first-picture");
  const std::string recording = CardFile("quit-at-end.MP4", "--streams 2 --seconds 2");
  const auto now = [] {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1000 + static_cast<double>(t.tv_nsec) / 1e6;
  };
  const double start = now();
  const ToolOutput run = RunTool("XDG_CONFIG_HOME=" + Quote(dir / "config") + " timeout 120 " +
                                 Tool("vx880-player") + " --time-first-picture " + Quote(recording) + " 2>/dev/null");
  const double end = now();
  EXPECT_EQ(run.status, 0);
  const std::string label = "first front picture on screen at ";
  const std::size_t at = run.out.find(label);
  ASSERT_NE(at, std::string::npos) << run.out;
  const double moment = std::atof(run.out.c_str() + at + label.size());
  EXPECT_GT(moment, start);
  EXPECT_LT(moment, end);
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
