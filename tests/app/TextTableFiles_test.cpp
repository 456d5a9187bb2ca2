// Where the texts come from and where the chosen language goes: current folder, user copy, program data.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ReadOnlyFolder.h"
#include "app/CommandLine.h"
#include "app/TextTableFiles.h"
#include "core/text/ProfileFile.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

std::string Select(const fs::path& file) {
  const std::optional<ProfileFile> profile = ProfileFile::Load(file);
  const std::u16string value = profile ? profile->GetString(u"Setting", u"Select") : u"";
  return std::string(value.begin(), value.end());
}

class TextTableFilesTest : public ::testing::Test {
 protected:
  TextTableFilesTest() : m_root(fs::temp_directory_path() / ("vx880-texts-" + std::to_string(getpid()))) {
    fs::remove_all(m_root);
    for (const char* dir : {"work", "config", "data"}) fs::create_directories(m_root / dir);
    std::ofstream(m_root / "data/Setting.ini") << "[Setting]\nIndex=5\nSelect=1\n";
    m_oldCwd = fs::current_path();
    fs::current_path(m_root / "work");
    setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
  }
  ~TextTableFilesTest() override {
    fs::current_path(m_oldCwd);
    fs::remove_all(m_root);
  }
  fs::path m_root;
  fs::path m_oldCwd;
};

TEST_F(TextTableFilesTest, TheCurrentFolderComesFirstThenTheUsersCopyThenTheProgramsData) {
  EXPECT_EQ(FindTextTable(m_root / "data").read, m_root / "data/Setting.ini");
  fs::create_directories(m_root / "config/vx880");
  std::ofstream(m_root / "config/vx880/Setting.ini") << "[Setting]\nSelect=3\n";
  EXPECT_EQ(FindTextTable(m_root / "data").read, m_root / "config/vx880/Setting.ini");
  std::ofstream(m_root / "work/Setting.ini") << "[Setting]\nSelect=2\n";
  EXPECT_EQ(FindTextTable(m_root / "data").read, m_root / "work/Setting.ini");
}

TEST_F(TextTableFilesTest, TheLanguageGoesIntoTheFileReadAndElseIntoAUserCopyThatIsReadNextTime) {
  TextTableFiles texts = FindTextTable(m_root / "data");
  EXPECT_EQ(texts.saveSelected(4), m_root / "data/Setting.ini");
  EXPECT_EQ(Select(m_root / "data/Setting.ini"), "4");

  // An installed copy: a folder that refuses writes, to root as well. The running window reads the copy
  // from then on, as the next start does.
  const test::ReadOnlyFolder installed(m_root / "data");
  ASSERT_EQ(installed.Error(), "");
  EXPECT_EQ(texts.saveSelected(2), m_root / "config/vx880/Setting.ini");
  EXPECT_EQ(Select(m_root / "data/Setting.ini"), "4");
  EXPECT_EQ(Select(m_root / "config/vx880/Setting.ini"), "2");
  EXPECT_EQ(FindTextTable(m_root / "data").read, m_root / "config/vx880/Setting.ini");
}

TEST(PlayerCommandLine, TakesPathsAndOptionsAndRefusesWhatItDoesNotKnow) {
  QString error;
  const auto line = ReadPlayerCommandLine({"vx880-player", "--full-screen", "card", "--screenshot", "a.png",
                                           "--after", "2.5", "--", "--odd name.MP4"},
                                          error);
  ASSERT_TRUE(line);
  EXPECT_TRUE(line->fullScreen);
  EXPECT_EQ(line->screenshot, "a.png");
  EXPECT_EQ(line->afterMs, 2500);
  ASSERT_EQ(line->paths.size(), 2);
  EXPECT_TRUE(line->paths[0].endsWith("/card"));
  EXPECT_TRUE(line->paths[1].endsWith("/--odd name.MP4"));
  // The longest wait still fits the timer's milliseconds.
  const auto longest = ReadPlayerCommandLine({"p", "--after", "2147483"}, error);
  ASSERT_TRUE(longest);
  EXPECT_EQ(longest->afterMs, 2'147'483'000);
  for (const QStringList& bad :
       {QStringList{"p", "--fullscreen"}, QStringList{"p", "--after", "soon"}, QStringList{"p", "--after", "-1"},
        QStringList{"p", "--after", "2147484"}, QStringList{"p", "--after", "1e300"}, QStringList{"p", "--after", "nan"},
        QStringList{"p", "--screenshot"}}) {
    EXPECT_FALSE(ReadPlayerCommandLine(bad, error)) << bad.join(' ').toStdString();
    EXPECT_FALSE(error.isEmpty());
  }
}

TEST_F(TextTableFilesTest, PathsThatNameNothingAreReportedAndTheOthersKept) {
  QString error;
  const QString root = QString::fromStdString(m_root.string());
  std::optional<PlayerCommandLine> line =
      ReadPlayerCommandLine({"p", "gone.MP4", root, "also gone", root + "/data/Setting.ini"}, error);
  ASSERT_TRUE(line);
  EXPECT_EQ(DropMissingPaths(*line), "vx880-player: no such file or folder: " + root + "/work/gone.MP4\n"
                                     "vx880-player: no such file or folder: " + root + "/work/also gone\n");
  EXPECT_EQ(line->paths, (QStringList{root, root + "/data/Setting.ini"}));
}

}  // namespace
}  // namespace vx
