// The settings and drive selection dialogs in English and Korean: every visible text must fit its control.
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

using SettingTexts = SettingsFixture;

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

TEST_F(SettingTexts, EnglishAndKoreanShowEveryTextWhole) {
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
  CSelectDriveDlg drive(m_drives, ProfileFile::Load(TextTable()).value_or(ProfileFile{}));
  drive.show();
  drive.adjustSize();
  EXPECT_EQ(ClippedTexts(drive), "");
}

}  // namespace
}  // namespace vx::test
