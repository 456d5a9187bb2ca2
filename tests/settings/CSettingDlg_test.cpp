// The settings dialog driven as a user would: presets, bitrate limit, cut-off, serial number, language, SAVE,
// CANCEL, SELECT, the zone clock and its thread, dragging, its drive selection, and its texts in two languages.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

#include <chrono>
#include <fstream>
#include <functional>

#include "SettingsFixture.h"
#include "core/settings/ZoneClock.h"
#include "core/text/ProfileFile.h"
#include "settings/CClockThread.h"
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

TEST(ClockThread, HandsOnOnlyTextsThatMoveForwardAndTheyArriveOnTheGuiThread) {
  const std::int64_t t = UtcSeconds(2024, 5, 1, 4, 5, 9);
  CZoneClock clock(540);
  std::atomic<int> calls{0};
  auto utcNow = [&]() -> std::int64_t { return calls++ < 2 ? t : t + 1; };  // read once a tick: t twice
  QStringList texts;
  bool onGuiThread = true;
  QObject receiver;
  CClockThread thread(clock, utcNow);
  QObject::connect(&thread, &CClockThread::ClockText, &receiver, [&](const QString& text, int) {
    texts << text;
    onGuiThread = onGuiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
  });
  thread.start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return calls >= 4; }, 10000));
  thread.Stop();
  QCoreApplication::processEvents();
  EXPECT_EQ(texts, QStringList({"2024-05-01, 13 : 05 : 09\r\n", "2024-05-01, 13 : 05 : 10\r\n"}));
  EXPECT_TRUE(onGuiThread);
  EXPECT_EQ(clock.Snapshot(), (ZoneTime{2024, 5, 1, 13, 5, 10}));
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

// Without volumes the selection cancels unshown; Escape cancels with no drive; a typed folder gets its
// separator and must exist.
TEST_F(DriveSelection, CancelsWithoutVolumesOrByEscapeAndTakesATypedFolderThatExists) {
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

  const QString typed = Folder("card folder").chopped(1);
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

// The visible controls whose text does not fit, by name and text.
std::string ClippedTexts(const QWidget& window) {
  QStringList clipped;
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(&window)) continue;
    QString text;
    int needed = 0;
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
      text = group->title();
      needed = group->fontMetrics().horizontalAdvance(text) + 16;
    } else if (qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget)) {
      text = widget->property("text").toString();
      needed = widget->sizeHint().width();
    } else if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
      // Whichever entry the user picks must show whole, with the arrow beside it.
      for (int i = 0; i < combo->count(); ++i) {
        const int width = combo->fontMetrics().horizontalAdvance(combo->itemText(i)) + 32;
        if (width > needed) std::tie(needed, text) = std::pair(width, combo->itemText(i));
      }
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
      text = edit->text();
      needed = edit->fontMetrics().horizontalAdvance(text) + 8;
    }
    const bool tooShort = !text.isEmpty() && widget->height() < widget->fontMetrics().height();
    if (widget->width() < needed || tooShort) clipped << widget->objectName() + " \"" + text + "\"";
  }
  return clipped.join("; ").toStdString();
}

TEST_F(SettingDialog, EnglishAndKoreanShowEveryTextWhole) {
  SetupRecord record = MakeDefaultRecord(36);
  record.dwRomCount = 4294967295u;
  StoreNarrowText(record.szSerialNumber, u"VX880QN-000123");
  StoreWideText(record.wszCompany, u"노르바네 주식회사");
  StoreWideText(record.wszCarLicence, u"12가 3456");
  WriteCard(record);
  for (const auto& [select, language] : {std::pair{u"1", "English"}, {u"0", "Korean"}}) {
    ASSERT_TRUE(WriteProfileString(TextTable(), u"Setting", u"Select", select));
    TestSettingDlg& dialog = OpenDialog(Card());
    dialog.adjustSize();
    EXPECT_EQ(ClippedTexts(dialog), "") << language;
  }
  m_drives.SetVolumes({QStringLiteral("/media/user/VX-880QN/"), QStringLiteral("/media/user/SD CARD/")});
  CSelectDriveDlg drive(m_drives, Texts(TextTable()));
  drive.show();
  drive.adjustSize();
  EXPECT_EQ(ClippedTexts(drive), "");
}

}  // namespace
}  // namespace vx::test
