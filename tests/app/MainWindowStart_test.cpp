// The main window as start-up makes it: its look before anything plays, and its texts from an installed
// (read-only) Setting.ini while the language is changed.
#include <QAbstractButton>
#include <QComboBox>
#include <QTreeView>

#include <cstdlib>
#include <filesystem>

#include "MainWindowFixture.h"
#include "ReadOnlyFolder.h"
#include "app/TextTableFiles.h"
#include "core/player/ControlIds.h"
#include "core/text/ProfileFile.h"
#include "player/CRecordingCatalogue.h"
#include "settings/CSettingDlg.h"
#include "settings/SettingDlgIds.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;

// The smallest rectangle holding every pixel in which the two pictures differ; empty when they are the same.
QRect DifferingArea(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return a.rect().united(b.rect());
  const QImage left = a.convertToFormat(QImage::Format_RGB32);
  const QImage right = b.convertToFormat(QImage::Format_RGB32);
  QRect area;
  for (int y = 0; y < left.height(); ++y) {
    for (int x = 0; x < left.width(); ++x)
      if (left.pixel(x, y) != right.pixel(x, y)) area |= QRect(x, y, 1, 1);
  }
  return area;
}

using WindowStartTest = MainWindowTest;

TEST_F(WindowStartTest, BeforeAnythingPlaysTheWindowLooksAsStopLeavesIt) {
  // The views paint nothing by themselves: shown, they are black boxes on the screen, not in a grab.
  EXPECT_FALSE(Window().FrontView().isVisible());
  EXPECT_FALSE(Window().RearView().isVisible());
  const QImage atStart = Window().grab().toImage();
  AddRows({PathOf(kTwoStreams2s)});
  Click(IDC_PLAY);
  ASSERT_TRUE(WaitUntil([&] { return !Window().RearView().Frame().IsNull(); }));
  Click(IDC_STOP);
  Window().Catalogue().RemoveAll();
  const QRect differs = DifferingArea(atStart, Window().grab().toImage());
  EXPECT_TRUE(differs.isEmpty()) << "differs in " << differs.x() << "," << differs.y() << " " << differs.width()
                                 << "x" << differs.height();
}

// A window whose texts come from an installed Setting.ini that refuses writes, with the user's configuration
// folder and the current folder of its own.
class InstalledTextsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    fs::remove_all(m_root);
    for (const char* dir : {"work", "config", "data"}) fs::create_directories(m_root / dir);
    fs::copy_file(fs::path(VX_BIN_DIR) / "Setting.ini", Installed());
    m_oldCwd = fs::current_path();
    fs::current_path(m_root / "work");
    setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
    m_pInstalled = std::make_unique<ReadOnlyFolder>(m_root / "data");
    ASSERT_EQ(m_pInstalled->Error(), "");
    m_pTextWindow = std::make_unique<CQuelmarDlg>(m_drives, FindTextTable(m_root / "data"));
    m_pTextWindow->OnInitDialog([](const QString&) {});
    m_pTextWindow->show();
  }
  void TearDown() override {
    m_pTextWindow.reset();
    m_pInstalled.reset();
    fs::current_path(m_oldCwd);
    fs::remove_all(m_root);
    MainWindowTest::TearDown();
  }

  fs::path Installed() const { return m_root / "data/Setting.ini"; }
  fs::path UserCopy() const { return m_root / "config/vx880/Setting.ini"; }
  std::string FirstColumnTitle() const {
    return m_pTextWindow->Catalogue().List()->model()->headerData(0, Qt::Horizontal).toString().toStdString();
  }
  // Opens the settings dialog (its drive selection dismissed), chooses `language` and closes it with CANCEL.
  void CloseSettingsWithLanguage(int language) {
    DismissModalOpenedBy([&] { m_pTextWindow->OnCommand(IDC_SETTINGS); });
    auto* dialog = m_pTextWindow->findChild<CSettingDlg*>();
    ASSERT_NE(dialog, nullptr);
    static_cast<QComboBox*>(dialog->GetDlgItem(IDC_LANGUAGE))->setCurrentIndex(language);
    static_cast<QAbstractButton*>(dialog->GetDlgItem(IDC_CANCEL))->click();
  }
  static std::u16string Select(const fs::path& file) {
    const std::optional<ProfileFile> profile = ProfileFile::Load(file);
    return profile ? profile->GetString(u"Setting", u"Select") : u"(none)";
  }

  fs::path m_root = fs::temp_directory_path() / ("vx880-installed-texts-" + std::to_string(getpid()));
  fs::path m_oldCwd;
  std::unique_ptr<ReadOnlyFolder> m_pInstalled;
  std::unique_ptr<CQuelmarDlg> m_pTextWindow;
};

TEST_F(InstalledTextsTest, TheChosenLanguageShowsAtOnceAndTheSameOneKeepsTheList) {
  m_pTextWindow->Catalogue().AddPaths({PathOf(kTwoStreams2s)});
  ASSERT_EQ(FirstColumnTitle(), "File name");

  CloseSettingsWithLanguage(1);  // the language already shown
  EXPECT_EQ(m_pTextWindow->Catalogue().RowCount(), 1);
  EXPECT_FALSE(fs::exists(UserCopy()));

  CloseSettingsWithLanguage(0);
  EXPECT_EQ(FirstColumnTitle(), "파일 이름");
  EXPECT_EQ(Select(UserCopy()), u"0");

  CloseSettingsWithLanguage(1);  // back again, through the copy
  EXPECT_EQ(FirstColumnTitle(), "File name");
  EXPECT_EQ(Select(UserCopy()), u"1");
}

}  // namespace
}  // namespace vx::test
