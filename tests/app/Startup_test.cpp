// Start-up and exit: the decoder setting is saved, held at 0 while the viewer runs, and put back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "ReadOnlyFolder.h"
#include "app/CQuelmarApp.h"

namespace vx {
namespace {

class FakeShell : public IStartupShell {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void RunMainDialog() override { whileRunning(); }
  std::vector<std::string> messages;
  std::function<void()> whileRunning = [] {};
};

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() : m_dir(std::filesystem::temp_directory_path() / ("vx880-startup-" + std::to_string(getpid()))),
                  m_store(m_dir / "settings.reg") {
    std::filesystem::remove_all(m_dir);
  }
  ~StartupTest() override { std::filesystem::remove_all(m_dir); }

  std::optional<std::uint32_t> Setting() const { return m_store.ReadDword(kDecoderKey, kMultipleInstances); }
  // Runs the viewer once; returns the setting as seen while its main window was open.
  std::optional<std::uint32_t> RunViewer() {
    std::optional<std::uint32_t> seen;
    m_shell.whileRunning = [&] { seen = Setting(); };
    CQuelmarApp app(m_store, m_shell);
    EXPECT_FALSE(app.InitInstance());
    app.ExitInstance();
    return seen;
  }

  std::filesystem::path m_dir;
  CSettingsStore m_store;
  FakeShell m_shell;
};

TEST_F(StartupTest, TheSettingReadsZeroWhileRunningAndTheUsersValueComesBackAtExit) {
  EXPECT_EQ(RunViewer(), 0u);
  EXPECT_EQ(Setting(), 0u) << "a missing key is created with 0";
  EXPECT_TRUE(m_shell.messages.empty());

  ASSERT_TRUE(m_store.WriteDword(kDecoderKey, kMultipleInstances, 2));
  ASSERT_TRUE(m_store.WriteDword(kDecoderKey, "other", 7));
  EXPECT_EQ(RunViewer(), 0u);
  EXPECT_EQ(Setting(), 2u);
  EXPECT_EQ(m_store.ReadDword(kDecoderKey, "other"), 7u);
}

TEST_F(StartupTest, AKilledViewerLeavesZeroWhichTheNextStartRestores) {
  ASSERT_TRUE(m_store.WriteDword(kDecoderKey, kMultipleInstances, 2));
  CQuelmarApp killed(m_store, m_shell);
  killed.InitInstance();  // no ExitInstance: the process died
  EXPECT_EQ(Setting(), 0u);
  EXPECT_EQ(RunViewer(), 0u);
  EXPECT_EQ(Setting(), 0u);
}

TEST_F(StartupTest, AStoreThatCannotBeWrittenShowsTheMessageOnceAndWritesNothing) {
  std::filesystem::create_directories(m_dir);
  const test::ReadOnlyFolder readOnly(m_dir);
  ASSERT_EQ(readOnly.Error(), "");
  CQuelmarApp app(m_store, m_shell);
  app.InitInstance();
  EXPECT_EQ(app.SavedMultipleInstances(), -1);
  app.ExitInstance();
  EXPECT_FALSE(std::filesystem::exists(m_store.File()));
  EXPECT_EQ(m_shell.messages, std::vector<std::string>{kDecoderMissingMessage});
}

TEST_F(StartupTest, TheStoreSkipsDamagedLinesAndKeepsTheRest) {
  std::filesystem::create_directories(m_dir);
  std::ofstream(m_store.File()) << "garbage\n[Software\\GNU\\ffdshow]\nmultipleInstances=3\nbad=-1\nx=99999999999\n";
  EXPECT_EQ(Setting(), 3u);
  EXPECT_EQ(m_store.ReadDword(kDecoderKey, "bad"), std::nullopt);
  EXPECT_EQ(m_store.ReadDword(kDecoderKey, "x"), std::nullopt);
  EXPECT_TRUE(m_store.WriteDword("Other", "v", 1));
  EXPECT_EQ(Setting(), 3u);
}

}  // namespace
}  // namespace vx
