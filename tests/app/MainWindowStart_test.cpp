// The main window as start-up makes it: its look before anything plays, the data folder, where its texts
// come from and where the chosen language goes, also from an installed (read-only) Setting.ini.
#include <QAbstractButton>
#include <QComboBox>
#include <QTreeView>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "MainWindowFixture.h"
#include "ReadOnlyFolder.h"
#include "ToolRunner.h"
#include "app/TextTableFiles.h"
#include "core/common/DataFolder.h"
#include "core/player/ControlIds.h"
#include "core/text/ProfileFile.h"
#include "player/CRecordingCatalogue.h"
#include "settings/CSettingDlg.h"
#include "settings/SettingDlgIds.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;

// Fault guarded: before anything played, the video views were shown as black boxes over the timeline and
// the rear-video button wore its "front view" picture.
TEST_F(MainWindowTest, BeforeAnythingPlaysTheWindowLooksAsStopLeavesIt) {
  // The views paint nothing by themselves: shown, they are black boxes on the screen, not in a grab.
  EXPECT_FALSE(Window().FrontView().isVisible());
  EXPECT_FALSE(Window().RearView().isVisible());
  const QImage atStart = Window().grab().toImage();
  AddRows({PathOf(kTwoStreams2s)});
  Click(IDC_PLAY);
  ASSERT_TRUE(WaitUntil([&] { return !Window().RearView().Frame().IsNull(); }));
  Click(IDC_STOP);
  Window().Catalogue().RemoveAll();
  EXPECT_TRUE(Window().grab().toImage() == atStart) << "the window differs from the one STOP leaves";
}

TEST(DataFolder, InstalledTreeWhereverItLiesElseBesideTheProgram) {
  const TempDir root("data-folder");
  for (const char* dir : {"opt/vx/bin", "opt/vx/share/vx880", "build/bin"}) fs::create_directories(root / dir);
  EXPECT_EQ(DataFolderOf(root.Path() / "opt/vx/bin/vx880-player"), root.Path() / "opt/vx/share/vx880");
  EXPECT_EQ(DataFolderOf(root.Path() / "build/bin/vx880-player"), root.Path() / "build/bin");
}

// The program's Setting.ini in a data folder of its own, with a current folder and a user's configuration
// folder of their own; the current folder is put back at the end.
struct TextFolders {
  TextFolders() {
    for (const char* dir : {"work", "config", "data"}) fs::create_directories(root / dir);
    fs::copy_file(fs::path(VX_BIN_DIR) / "Setting.ini", installed);
    fs::current_path(root / "work");
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
  }
  ~TextFolders() { fs::current_path(oldCwd); }

  const fs::path oldCwd = fs::current_path();
  const TempDir root{"texts"};
  const fs::path data = root.Path() / "data";
  const fs::path installed = data / "Setting.ini";
  const fs::path userCopy = root.Path() / "config/vx880/Setting.ini";
};

std::u16string Select(const fs::path& file) {
  return ProfileFile::Load(file).value_or(ProfileFile()).GetString(u"Setting", u"Select");
}

TEST(TextTableFiles, TheLanguageGoesIntoTheFileReadElseIntoAUserCopyReadBeforeTheDataAfterTheCurrentFolder) {
  const TextFolders folders;
  TextTableFiles texts = FindTextTable(folders.data);
  EXPECT_EQ(texts.saveSelected(4), folders.installed);
  EXPECT_EQ(Select(folders.installed), u"4");

  const ReadOnlyFolder readOnly(folders.data);
  ASSERT_EQ(readOnly.Error(), "");
  EXPECT_EQ(texts.saveSelected(2), folders.userCopy);
  EXPECT_EQ(Select(folders.installed) + Select(folders.userCopy), u"42");
  EXPECT_EQ(FindTextTable(folders.data).read, folders.userCopy);
  std::ofstream(folders.root / "work/Setting.ini") << "[Setting]\nSelect=3\n";
  EXPECT_EQ(FindTextTable(folders.data).read, folders.root.Path() / "work/Setting.ini");
}

// Faults guarded: with an installed Setting.ini the window kept reading it after the choice went into the
// user's copy, so nothing changed until a restart; choosing the language already shown reloaded the titles,
// which emptied the list.
TEST_F(MainWindowTest, TheChosenLanguageShowsAtOnceAndTheSameOneKeepsTheList) {
  const TextFolders folders;
  const ReadOnlyFolder readOnly(folders.data);
  ASSERT_EQ(readOnly.Error(), "");
  CQuelmarDlg window(m_drives, FindTextTable(folders.data));
  window.OnInitDialog([](const QString&) {});
  window.show();
  window.Catalogue().AddPaths({PathOf(kTwoStreams2s)});
  // Chooses the language in the settings dialog (its drive selection dismissed), closes it with CANCEL and
  // answers the list's first column title.
  const auto titleAfterChoosing = [&](int language) {
    DismissModalOpenedBy([&] { window.OnCommand(IDC_SETTINGS); });
    auto* dialog = window.findChild<CSettingDlg*>();
    if (!dialog) return std::string("(no settings dialog)");
    static_cast<QComboBox*>(dialog->GetDlgItem(IDC_LANGUAGE))->setCurrentIndex(language);
    static_cast<QAbstractButton*>(dialog->GetDlgItem(IDC_CANCEL))->click();
    return window.Catalogue().List()->model()->headerData(0, Qt::Horizontal).toString().toStdString();
  };
  EXPECT_EQ(titleAfterChoosing(1), "File name");  // the language already shown
  EXPECT_EQ(window.Catalogue().RowCount(), 1);
  EXPECT_FALSE(fs::exists(folders.userCopy));
  EXPECT_EQ(titleAfterChoosing(0), "파일 이름");
  EXPECT_EQ(titleAfterChoosing(1), "File name");  // back again, through the copy
}

}  // namespace
}  // namespace vx::test
