// The drive selection: the removable volumes in order, the first selected, OK, Esc, typed folders, and the
// settings dialog reading the card chosen there.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "SettingsFixture.h"
#include "core/text/ProfileFile.h"
#include "settings/CSelectDriveDlg.h"

namespace vx::test {
namespace {

class DriveSelection : public SettingsFixture {
 protected:
  QString MakeVolume(const char* name) {
    fs::create_directories(m_dir / name);
    return QString::fromStdString((m_dir / name).string() + "/");
  }
  ProfileFile Texts() const { return ProfileFile::Load(TextTable()).value_or(ProfileFile{}); }
};

// Acts on the modal dialog once it is up.
void WhenModal(std::function<void(QWidget&)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    act(*modal);
  });
}

void PressOk(QWidget& modal) {
  QTest::mouseClick(qobject_cast<QPushButton*>(modal.findChild<QWidget*>(QString::number(IDOK_DRIVE))),
                    Qt::LeftButton);
}

TEST_F(DriveSelection, VolumesAreListedInOrderWithTheFirstSelected) {
  const QString e = MakeVolume("E");
  const QString g = MakeVolume("G");
  m_drives.SetVolumes({g, e});
  CSelectDriveDlg dialog(m_drives, Texts());
  auto* list = qobject_cast<QComboBox*>(dialog.GetDlgItem(IDC_DRIVE_LIST));
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(0), e);
  EXPECT_EQ(list->itemText(1), g);
  EXPECT_EQ(qobject_cast<QLabel*>(dialog.GetDlgItem(IDC_DRIVE_LABEL))->text(), "Drive:");
  WhenModal(PressOk);
  EXPECT_EQ(dialog.DoModal(), QDialog::Accepted);
  EXPECT_EQ(dialog.Drive(), e);
}

TEST_F(DriveSelection, WithNoVolumeItAnswersCancelWithoutShowing) {
  CSelectDriveDlg dialog(m_drives, Texts());
  bool shown = false;
  QTimer::singleShot(0, [&] {
    shown = QApplication::activeModalWidget() != nullptr;
    if (shown) QApplication::activeModalWidget()->close();
  });
  EXPECT_EQ(dialog.DoModal(), QDialog::Rejected);
  QCoreApplication::processEvents();
  EXPECT_FALSE(shown);
}

TEST_F(DriveSelection, EscapeCancelsAndLeavesTheDriveEmpty) {
  m_drives.SetVolumes({MakeVolume("E")});
  CSelectDriveDlg dialog(m_drives, Texts());
  WhenModal([](QWidget& modal) { QTest::keyClick(&modal, Qt::Key_Escape); });
  EXPECT_EQ(dialog.DoModal(), QDialog::Rejected);
  EXPECT_TRUE(dialog.Drive().isEmpty());
}

TEST_F(DriveSelection, ATypedFolderGetsItsSeparatorAndMustExist) {
  m_drives.SetVolumes({MakeVolume("E")});
  const QString typed = MakeVolume("card folder").chopped(1);
  CSelectDriveDlg dialog(m_drives, Texts());
  WhenModal([&](QWidget& modal) {
    auto* edit = modal.findChild<QComboBox*>(QString::number(IDC_DRIVE_LIST))->lineEdit();
    edit->setText(typed + "-missing");
    PressOk(modal);
    QMessageBox* box = modal.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr) << "a folder that does not exist is refused";
    box->accept();
    EXPECT_TRUE(modal.isVisible());
    edit->setText(typed);
    PressOk(modal);
  });
  EXPECT_EQ(dialog.DoModal(), QDialog::Accepted);
  EXPECT_EQ(dialog.Drive(), typed + "/");
}

TEST_F(DriveSelection, TheSettingsDialogReadsTheCardChosenAtItsStart) {
  SetupRecord record = MakeDefaultRecord(36);
  record.dwRomCount = 42;
  WriteCard(record);
  m_drives.SetVolumes({Card()});
  CSettingDlg dialog(nullptr, TextTable(), m_drives, [this] { return m_nNow.load(); });
  WhenModal(PressOk);
  dialog.Create();
  EXPECT_EQ(dialog.CardFolder(), Card());
  EXPECT_EQ(Item<QLabel>(dialog, IDC_ROM_COUNT)->text(), "42");
}

}  // namespace
}  // namespace vx::test
