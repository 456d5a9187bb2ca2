// Start-up and exit: the decoder setting is saved, held at 0 while the viewer runs, and put back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ReadOnlyFolder.h"
#include "ToolRunner.h"
#include "app/CQuelmarApp.h"

namespace vx::test {
namespace {

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
  EXPECT_EQ(Setting(), 0u);
  EXPECT_EQ(RunViewer(), 0u);
  EXPECT_EQ(Setting(), 0u) << "the next start takes the 0 left behind for the user's value";
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(StartupTest, AStoreThatCannotBeWrittenShowsTheMessageOnceAndWritesNothing) {
  const ReadOnlyFolder readOnly(m_dir.Path());
  ASSERT_EQ(readOnly.Error(), "");
  EXPECT_EQ(RunViewer(), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(m_store.File()));
  EXPECT_EQ(m_messages, std::vector<std::string>{kDecoderMissingMessage});
}

TEST_F(StartupTest, TheStoreSkipsDamagedLinesAndKeepsTheRest) {
  std::ofstream(m_store.File()) << "garbage\n[Software\\GNU\\ffdshow]\nmultipleInstances=3\nbad=-1\nx=99999999999\n";
  EXPECT_EQ(Setting(), 3u);
  EXPECT_EQ(m_store.ReadDword(kDecoderKey, "bad"), std::nullopt);
  EXPECT_EQ(m_store.ReadDword(kDecoderKey, "x"), std::nullopt);
  EXPECT_TRUE(m_store.WriteDword("Other", "v", 1));
  EXPECT_EQ(Setting(), 3u);
}

}  // namespace
}  // namespace vx::test
