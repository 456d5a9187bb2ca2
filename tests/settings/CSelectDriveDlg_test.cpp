// The drive selection: the removable volumes in order, the first selected, OK, Esc, typed folders, and the
// settings dialog reading the card chosen there.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include "SettingsFixture.h"
#include "core/text/ProfileFile.h"
#include "settings/CSelectDriveDlg.h"

namespace vx::test {
namespace {

class DriveSelection : public SettingsFixture {
 protected:
  // Runs the selection, acting on it by `act` once it is up (if it comes up at all).
  int Run(CSelectDriveDlg& dialog, std::function<void(QWidget&)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
      if (QWidget* modal = QApplication::activeModalWidget()) act(*modal);
    });
    return dialog.DoModal();
  }
  ProfileFile Texts() const { return ProfileFile::Load(TextTable()).value_or(ProfileFile{}); }
};

void PressOk(QWidget& modal) {
  QTest::mouseClick(modal.findChild<QPushButton*>(QString::number(IDOK_DRIVE)), Qt::LeftButton);
}

TEST_F(DriveSelection, VolumesAreListedInOrderWithTheFirstSelected) {
  m_drives.SetVolumes({Folder("G"), Folder("E")});
  CSelectDriveDlg dialog(m_drives, Texts());
  auto* list = qobject_cast<QComboBox*>(dialog.GetDlgItem(IDC_DRIVE_LIST));
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(qobject_cast<QLabel*>(dialog.GetDlgItem(IDC_DRIVE_LABEL))->text(), "Drive:");
  EXPECT_EQ(Run(dialog, PressOk), QDialog::Accepted);
  EXPECT_EQ(dialog.Drive(), Folder("E"));
}

TEST_F(DriveSelection, WithoutVolumesItCancelsUnshownAndEscapeCancelsWithNoDrive) {
  CSelectDriveDlg none(m_drives, Texts());
  bool shown = false;
  EXPECT_EQ(Run(none, [&](QWidget& modal) { shown = modal.close(); }), QDialog::Rejected);
  QCoreApplication::processEvents();
  EXPECT_FALSE(shown);

  m_drives.SetVolumes({Folder("E")});
  CSelectDriveDlg dialog(m_drives, Texts());
  EXPECT_EQ(Run(dialog, [](QWidget& modal) { QTest::keyClick(&modal, Qt::Key_Escape); }), QDialog::Rejected);
  EXPECT_TRUE(dialog.Drive().isEmpty());
}

TEST_F(DriveSelection, ATypedFolderGetsItsSeparatorAndMustExist) {
  m_drives.SetVolumes({Folder("E")});
  const QString typed = Folder("card folder").chopped(1);
  CSelectDriveDlg dialog(m_drives, Texts());
  EXPECT_EQ(Run(dialog,
                [&](QWidget& modal) {
                  auto* edit = modal.findChild<QComboBox*>(QString::number(IDC_DRIVE_LIST))->lineEdit();
                  edit->setText(typed + "-missing");
                  PressOk(modal);
                  QMessageBox* box = modal.findChild<QMessageBox*>();
                  ASSERT_NE(box, nullptr) << "a folder that does not exist is refused";
                  box->accept();
                  edit->setText(typed);
                  PressOk(modal);
                }),
            QDialog::Accepted);
  EXPECT_EQ(dialog.Drive(), typed + "/");
}

TEST_F(DriveSelection, TheSettingsDialogReadsTheCardChosenAtItsStart) {
  SetupRecord record = MakeDefaultRecord(36);
  record.dwRomCount = 42;
  WriteCard(record);
  m_drives.SetVolumes({Card()});
  CSettingDlg dialog(nullptr, TextTable(), m_drives, [this] { return m_nNow.load(); });
  QTimer::singleShot(0, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) PressOk(*modal);
  });
  dialog.Create();
  EXPECT_EQ(dialog.CardFolder(), Card());
  EXPECT_EQ(Item<QLabel>(dialog, IDC_ROM_COUNT)->text(), "42");
}

}  // namespace
}  // namespace vx::test
