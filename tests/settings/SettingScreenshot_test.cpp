// The settings and drive selection dialogs in English and Korean, saved as build/settings-dialog-en.png,
// settings-dialog-ko.png and drive-select-ko.png; every visible text must fit its control.
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "SettingsFixture.h"
#include "core/text/ProfileFile.h"
#include "settings/CSelectDriveDlg.h"

namespace vx::test {
namespace {

using SettingScreenshot = SettingsFixture;

// Names of the visible controls whose text does not fit.
QStringList ClippedTexts(const QWidget& window) {
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
        if (combo->fontMetrics().horizontalAdvance(combo->itemText(i)) > combo->fontMetrics().horizontalAdvance(text)) {
          text = combo->itemText(i);
        }
      }
      needed = combo->fontMetrics().horizontalAdvance(text) + 32;
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
      text = edit->text();
      needed = edit->fontMetrics().horizontalAdvance(text) + 8;
    }
    const bool tooShort = !text.isEmpty() && widget->height() < widget->fontMetrics().height();
    if (widget->width() < needed || tooShort) clipped << widget->objectName() + " \"" + text + "\"";
  }
  return clipped;
}

void Save(QWidget& window, const char* name) {
  const QString path = QStringLiteral(VX_BIN_DIR "/../") + name;
  EXPECT_TRUE(window.grab().save(path)) << path.toStdString();
}

TEST_F(SettingScreenshot, EnglishAndKoreanShowEveryTextWhole) {
  SetupRecord record = MakeDefaultRecord(36);
  record.dwRomCount = 4294967295u;
  StoreNarrowText(record.szSerialNumber, u"VX880QN-000123");
  StoreWideText(record.wszCompany, u"노르바네 주식회사");
  StoreWideText(record.wszCarLicence, u"12가 3456");
  WriteCard(record);
  for (const auto& [select, file] : {std::pair{u"1", "settings-dialog-en.png"}, {u"0", "settings-dialog-ko.png"}}) {
    ASSERT_TRUE(WriteProfileString(TextTable(), u"Setting", u"Select", select));
    TestSettingDlg& dialog = OpenDialog(Card());
    dialog.adjustSize();
    EXPECT_EQ(ClippedTexts(dialog).join("; ").toStdString(), "") << file;
    Save(dialog, file);
  }
  m_drives.SetVolumes({QStringLiteral("/media/user/VX-880QN/"), QStringLiteral("/media/user/SD CARD/")});
  CSelectDriveDlg drive(m_drives, ProfileFile::Load(TextTable()).value_or(ProfileFile{}));
  drive.show();
  drive.adjustSize();
  EXPECT_EQ(ClippedTexts(drive).join("; ").toStdString(), "");
  Save(drive, "drive-select-ko.png");
}

}  // namespace
}  // namespace vx::test
