// The settings dialog driven as a user would: presets, bitrate limit, cut-off, serial number, language, SAVE,
// CANCEL, SELECT, the zone clock, dragging; its drive selection, and a write-protected card.
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

#include <fcntl.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "SettingsFixture.h"
#include "core/text/ProfileFile.h"
#include "settings/CSelectDriveDlg.h"

namespace vx::test {
namespace {

using SettingDialog = SettingsFixture;

// Types text as key presses, also characters that have no key of their own.
void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
  }
}

// A VGA card's bitrates show as stored; the user's moves are limited until SAVE makes it HD.
TEST_F(SettingDialog, ControlsShowTheCardAndSaveWhatTheUserSet) {
  SetupRecord record = MakeDefaultRecord(36);
  record.dwCutOffVoltage = 9000;
  StoreNarrowText(record.szSerialNumber, u"SN\u00E9");
  record.bSpeedUnit = 9;
  record.wVideoModeA = record.wVideoModeB = 10;
  record.dwFrontBitrate = record.dwRearBitrate = 6000000;
  WriteCard(record);
  TestSettingDlg& dialog = OpenDialog(Card());
  QSignalSpy languageChanged(&dialog, &CSettingDlg::LanguageChanged);
  Click(dialog, IDC_DRIVE_NORMALLY);
  Click(dialog, IDC_PARKING_NORMALLY);

  auto* front = Item<QSlider>(dialog, IDC_FRONT_BITRATE);
  auto* rear = Item<QSlider>(dialog, IDC_REAR_BITRATE);
  EXPECT_EQ(std::pair(front->value(), rear->value()), std::pair(6, 6));
  front->setValue(4);
  EXPECT_EQ(rear->value(), 4);
  rear->setValue(5);
  EXPECT_EQ(front->value(), 3);

  auto* cutOffValue = Item<QLabel>(dialog, IDC_CUT_OFF_VALUE);
  EXPECT_EQ(cutOffValue->text(), "11.800 V");
  auto* cutOff = Item<QSlider>(dialog, IDC_CUT_OFF);
  cutOff->setFocus();
  QTest::keyClick(cutOff, Qt::Key_End);
  EXPECT_EQ(cutOffValue->text(), "13.000 V");

  auto* serial = Item<QLineEdit>(dialog, IDC_SERIAL);
  EXPECT_EQ(serial->text(), QString::fromUtf16(u"SN\u00E9"));
  serial->setFocus();
  serial->end(false);
  Type(serial, QString::fromUtf16(u"\u20AC1") + QString(40, QLatin1Char('9')));
  const std::u16string typed = u"SN\u00E91" + std::u16string(28, u'9');
  EXPECT_EQ(serial->text(), QString::fromStdU16String(typed)) << "the euro sign refused, 32 characters taken";
  EXPECT_FALSE(Item<QRadioButton>(dialog, IDC_SPEED_KMH)->isChecked() ||
               Item<QRadioButton>(dialog, IDC_SPEED_MPH)->isChecked());

  Click(dialog, IDC_SAVE);
  const SetupRecord saved = CardRecord();
  EXPECT_EQ((std::array{saved.wDriveFB, saved.wDriveLR, saved.wDriveTB, saved.wParkingTB}),
            (std::array<std::uint16_t, 4>{60, 40, 40, 30}));
  EXPECT_EQ(std::pair(saved.dwCutOffVoltage, saved.dwFrontBitrate), std::pair(13000u, 3000000u));
  EXPECT_EQ(NarrowFieldText(saved.szSerialNumber), typed);
  EXPECT_EQ(saved.bSpeedUnit, 9) << "an unknown unit is kept while the user picks none";
  EXPECT_FALSE(dialog.isVisible()) << "SAVE closes the dialog";
  EXPECT_EQ(languageChanged.count(), 1);

  TestSettingDlg& again = OpenDialog(Card());
  Item<QSlider>(again, IDC_FRONT_BITRATE)->setValue(6);
  Item<QSlider>(again, IDC_REAR_BITRATE)->setValue(6);
  EXPECT_EQ(Item<QSlider>(again, IDC_FRONT_BITRATE)->value(), 6) << "HD has no limit";
}

// Without a card SAVE asks for a folder: cancelled, nothing is written and the dialog stays open. A language
// chosen meanwhile relabels the dialog at once and reaches the main window when CANCEL closes it. Shown again,
// SAVE writes to the folder browsed.
TEST_F(SettingDialog, WithoutACardSaveAsksForAFolderAndCancelHandsOnTheLanguage) {
  TestSettingDlg& dialog = OpenDialog({});
  Click(dialog, IDC_SAVE);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(fs::exists(m_dir / "card" / kSetupFileName));

  auto* languages = Item<QComboBox>(dialog, IDC_LANGUAGE);
  ASSERT_EQ(languages->count(), 5);
  EXPECT_EQ(languages->currentIndex(), 1);
  EXPECT_EQ(Item<QPushButton>(dialog, IDC_SAVE)->text(), "SAVE");
  QSignalSpy languageChanged(&dialog, &CSettingDlg::LanguageChanged);
  languages->setCurrentIndex(0);
  EXPECT_EQ(Item<QPushButton>(dialog, IDC_SAVE)->text(), "저장");
  EXPECT_EQ(Item<QRadioButton>(dialog, IDC_MIC_NOT_USE)->text(), "끄기");
  EXPECT_EQ(languageChanged.count(), 0) << "the main window changes only when the dialog closes";
  Click(dialog, IDC_CANCEL);
  EXPECT_EQ(languageChanged, QList<QList<QVariant>>{{0}});
  EXPECT_EQ(ReadProfileString(TextTable(), u"Setting", u"Select"), u"1") << "the main window keeps the choice";
  EXPECT_FALSE(dialog.isVisible());

  dialog.show();
  dialog.m_strBrowseAnswer = Card().chopped(1);  // a browsed folder has no trailing separator
  Click(dialog, IDC_SAVE);
  EXPECT_EQ(dialog.CardFolder(), Card());
  EXPECT_EQ(fs::file_size(m_dir / "card" / kSetupFileName), kSetupFileSize);
}

TEST_F(SettingDialog, AFailedSaveSaysWhereAndWhyAndKeepsTheDialogOpen) {
  WriteCard(MakeDefaultRecord(36));
  TestSettingDlg& dialog = OpenDialog(Card());
  fs::remove_all(m_dir / "card");  // the card was pulled out
  Click(dialog, IDC_SAVE);
  auto* box = dialog.findChild<QMessageBox*>();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->text().contains(Card() + "setup.cfg") && box->text().contains("No such file or directory"))
      << box->text().toStdString();
  EXPECT_TRUE(dialog.isVisible()) << "a failed save is never reported as saved";
  box->accept();
}

// The card chosen by SELECT (or first) is read again at SAVE: the camera may have rewritten it meanwhile. Its
// counter, device values and firmware are kept; the controls keep what the user set.
TEST_F(SettingDialog, SaveKeepsWhatTheSelectedCardHoldsNowAndTheUsersEdits) {
  SetupRecord first = MakeDefaultRecord(36);
  first.dwDevParam7 = 1111;
  WriteCard(first);
  const QString other = Folder("other");
  const fs::path killed = m_dir / "other/setup.cfg.tmp-99-1-0";
  std::ofstream(killed) << "half";
  fs::last_write_time(killed, fs::file_time_type::clock::now() - std::chrono::minutes(2));
  SetupRecord second = MakeDefaultRecord(36);
  second.dwRomCount = 0xFFFFFFFF;
  StoreNarrowText(second.szProductName, u"VX-880QN-B");
  WriteCard(second, other);

  TestSettingDlg& dialog = OpenDialog(Card());
  Item<QLineEdit>(dialog, IDC_COMPANY)->setText("Norvane");
  dialog.m_strDriveAnswer = other;
  Click(dialog, IDC_SELECT);
  EXPECT_EQ(Item<QLabel>(dialog, IDC_PRODUCT)->text(), "VX-880QN-B");
  EXPECT_EQ(Item<QLabel>(dialog, IDC_ROM_COUNT)->text(), "4294967295");
  EXPECT_FALSE(fs::exists(killed)) << "a killed save's copy goes when the card is taken";

  second.dwDevParam7 = 3333;  // the camera rewrote the card
  StoreNarrowText(second.szFWVersion, u"V2.0.0");
  WriteCard(second, other);
  Click(dialog, IDC_SAVE);
  const SetupRecord saved = CardRecord(other);
  EXPECT_EQ(std::tuple(saved.dwDevParam7, NarrowFieldText(saved.szFWVersion), WideFieldText(saved.wszCompany)),
            std::tuple(3333u, std::u16string(u"V2.0.0"), std::u16string(u"Norvane")));
  EXPECT_EQ(CardRecord().dwDevParam7, 1111u) << "the first card is untouched";
}

TEST_F(SettingDialog, ClockAndZoneStartFromTheComputersStandardTimeAndSaveWithTheChosenZone) {
  const ScopedComputerZone berlin("CET-1CEST,M3.5.0,M10.5.0/3");
  m_nNow = UtcSeconds(2024, 7, 15, 10, 0, 0);
  TestSettingDlg& dialog = OpenDialog(Card());
  auto* zones = Item<QComboBox>(dialog, IDC_TIME_ZONE);
  auto* clock = Item<QLineEdit>(dialog, IDC_CLOCK);
  EXPECT_EQ(zones->currentIndex(), 14);
  EXPECT_EQ(clock->text(), "2024-07-15, 11 : 00 : 00 (GMT+01:00) CET") << "UTC+1, not the computer's summer time";
  zones->setCurrentIndex(22);  // UTC+5:45: further east, so the clock thread's next text shows it
  ASSERT_TRUE(QTest::qWaitFor([&] { return clock->text().endsWith("(GMT+05:45)"); }, 10000));
  EXPECT_EQ(clock->text(), "2024-07-15, 15 : 45 : 00 (GMT+05:45)");
  Item<QCheckBox>(dialog, IDC_SUMMER_TIME)->setChecked(true);
  Item<QCheckBox>(dialog, IDC_TIME_SET_USE)->setChecked(true);
  Click(dialog, IDC_SAVE);
  EXPECT_EQ(dialog.ZoneQuarterHours(), 27) << "what the main window dates the list with";
  const SetupRecord saved = CardRecord();
  EXPECT_EQ(std::pair(int{saved.nTimeZone}, int{saved.bTimeSet}), std::pair(27, 1));
  EXPECT_EQ((std::array{saved.wYear, saved.wMonth, saved.wDay, saved.wHour, saved.wMinute, saved.wSecond}),
            (std::array<std::uint16_t, 6>{2024, 7, 15, 15, 45, 0}));
}

TEST_F(SettingDialog, TheDialogIsDraggedByAnyFreeSpot) {
  TestSettingDlg& dialog = OpenDialog({});
  QWidget* label = dialog.GetDlgItem(IDC_USER_INFO_GROUP);
  const QPoint before = dialog.pos();
  QTest::mousePress(label, Qt::LeftButton, {}, QPoint(4, 4));
  QTest::mouseMove(label, QPoint(34, 24));
  QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(34, 24));
  EXPECT_EQ(dialog.pos() - before, QPoint(30, 20));
}

using DriveSelection = SettingsFixture;

ProfileFile Texts(const fs::path& table) { return ProfileFile::Load(table).value_or(ProfileFile{}); }

// Acts on the drive selection by `act` once it is up (if it comes up at all).
void AnswerSelection(std::function<void(QWidget&)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    if (QWidget* modal = QApplication::activeModalWidget()) act(*modal);
  });
}

int RunSelection(CSelectDriveDlg& dialog, std::function<void(QWidget&)> act) {
  AnswerSelection(std::move(act));
  return dialog.DoModal();
}

void PressOk(QWidget& modal) {
  QTest::mouseClick(modal.findChild<QPushButton*>(QString::number(IDOK_DRIVE)), Qt::LeftButton);
}

TEST_F(DriveSelection, WithoutVolumesItCancelsUnshownAndEscapeCancelsWithNoDrive) {
  CSelectDriveDlg none(m_drives, Texts(TextTable()));
  bool shown = false;
  EXPECT_EQ(RunSelection(none, [&](QWidget& modal) { shown = modal.close(); }), QDialog::Rejected);
  QCoreApplication::processEvents();
  EXPECT_FALSE(shown);

  m_drives.SetVolumes({Folder("E")});
  CSelectDriveDlg dialog(m_drives, Texts(TextTable()));
  const auto escape = [](QWidget& modal) { QTest::keyClick(&modal, Qt::Key_Escape); };
  EXPECT_EQ(RunSelection(dialog, escape), QDialog::Rejected);
  EXPECT_TRUE(dialog.Drive().isEmpty());
}

TEST_F(DriveSelection, ATypedFolderGetsItsSeparatorAndMustExist) {
  m_drives.SetVolumes({Folder("E")});
  const QString typed = Folder("card folder").chopped(1);
  CSelectDriveDlg dialog(m_drives, Texts(TextTable()));
  const auto typeTwice = [&](QWidget& modal) {
    auto* edit = modal.findChild<QComboBox*>(QString::number(IDC_DRIVE_LIST))->lineEdit();
    edit->setText(typed + "-missing");
    PressOk(modal);
    QMessageBox* box = modal.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr) << "a folder that does not exist is refused";
    box->accept();
    edit->setText(typed);
    PressOk(modal);
  };
  EXPECT_EQ(RunSelection(dialog, typeTwice), QDialog::Accepted);
  EXPECT_EQ(dialog.Drive(), typed + "/");
}

// The volumes are listed in order with the first selected; the settings dialog reads the card chosen there.
TEST_F(DriveSelection, TheSettingsDialogReadsTheFirstVolumeInOrderAtItsStart) {
  SetupRecord record = MakeDefaultRecord(36);
  record.dwRomCount = 42;
  WriteCard(record);
  m_drives.SetVolumes({Folder("z"), Card()});
  CSettingDlg dialog(nullptr, TextTable(), m_drives, [this] { return m_nNow.load(); });
  AnswerSelection(PressOk);
  dialog.Create();
  EXPECT_EQ(dialog.CardFolder(), Card());
  EXPECT_EQ(Item<QLabel>(dialog, IDC_ROM_COUNT)->text(), "42");
}

using ReadOnlyCard = SettingsFixture;

// The card is a read-only mount, so that opening setup.cfg for writing is really refused, also for root (for
// whom file modes refuse nothing). Run by CTest in a private mount namespace, where mounting touches nothing
// outside.
TEST_F(ReadOnlyCard, ShowsItsOwnValues) {
  if (!std::getenv("VX_MOUNT_NAMESPACE")) GTEST_SKIP() << "mounts only in a private mount namespace";
  const QString card = Folder("ro");
  const std::string mountPoint = card.toStdString();
  ASSERT_EQ(std::system(("mount -t tmpfs -o size=1m vxcard " + mountPoint).c_str()), 0);
  SetupRecord record = MakeDefaultRecord(36);
  StoreWideText(record.wszCompany, u"Read-only Co");
  WriteCard(record, card);
  ASSERT_EQ(std::system(("mount -o remount,ro " + mountPoint).c_str()), 0);
  const int fd = ::open((mountPoint + kSetupFileName).c_str(), O_WRONLY);
  ASSERT_TRUE(fd < 0 && errno == EROFS) << "the card must refuse writing";
  EXPECT_EQ(Item<QLineEdit>(OpenDialog(card), IDC_COMPANY)->text(), "Read-only Co");
  m_dialogs.clear();
  EXPECT_EQ(std::system(("umount " + mountPoint).c_str()), 0);
}

}  // namespace
}  // namespace vx::test
