// The Preferences dialog opened from the list's menu: OK keeps the values in the viewer's store, Defaults and
// Cancel do what they say, and a store that cannot be written is named.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <fstream>

#include "MainWindowFixture.h"
#include "TestMedia.h"
#include "ToolRunner.h"
#include "core/cardindex/RecordingSummaries.h"
#include "core/player/ControlIds.h"
#include "player/CPreferencesDlg.h"
#include "player/CRecordingCatalogue.h"
#include "widgets/CTkSlider.h"

namespace vx::test {
namespace {

class PreferencesTest : public MainWindowTest {
 protected:
  void TearDown() override {
    ::unsetenv("XDG_CONFIG_HOME");
    MainWindowTest::TearDown();
  }
  // Chooses "Preferences…" in the list's menu; the dialog it opens.
  CPreferencesDlg* Open() {
    for (QAction* action : Window().Catalogue().ContextMenu()->actions()) {
      if (action->text() == QStringLiteral("Preferences\u2026")) action->trigger();
    }
    return Window().findChild<CPreferencesDlg*>();
  }
  static QDoubleSpinBox& Box(CPreferencesDlg& dialog, const char* name) {
    return *dialog.findChild<QDoubleSpinBox*>(QString::fromLatin1(name));
  }
  static void Press(CPreferencesDlg& dialog, QDialogButtonBox::StandardButton which) {
    dialog.findChild<QDialogButtonBox*>()->button(which)->click();
  }
  // Presses OK and waits until the dialog is gone; false when it stays.
  static bool Accept(CPreferencesDlg* dialog) {
    QPointer<CPreferencesDlg> alive(dialog);
    Press(*dialog, QDialogButtonBox::Ok);
    return WaitUntil([&] { return alive.isNull(); }, 5'000);
  }
};

TEST_F(PreferencesTest, OkKeepsTheValuesForTheNextOpeningAndDefaultsAndCancelDoNot) {
  const TempDir dir("preferences");
  ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  CPreferencesDlg* first = Open();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Values(), ViewerPreferences{});
  Box(*first, "TripGapSeconds").setValue(30);
  Box(*first, "BrakingG").setValue(0.6);
  Box(*first, "ImpactG").setValue(2.5);
  ASSERT_TRUE(Accept(first));

  CPreferencesDlg* second = Open();
  ASSERT_NE(second, nullptr);
  ViewerPreferences saved;
  saved.tripGapSeconds = 30;
  saved.brakingG = 0.6;
  saved.impactG = 2.5;
  EXPECT_EQ(second->Values(), saved);
  Press(*second, QDialogButtonBox::RestoreDefaults);
  EXPECT_EQ(second->Values(), ViewerPreferences{});
  Press(*second, QDialogButtonBox::Cancel);
  ASSERT_TRUE(WaitUntil([&] { return Window().findChild<CPreferencesDlg*>() == nullptr; }, 5'000));

  CPreferencesDlg* third = Open();
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->Values(), saved);
}

TEST_F(PreferencesTest, AStoreThatCannotBeWrittenIsNamedAndTheDialogStays) {
  const TempDir dir("preferences-unwritable");
  std::ofstream(dir / "file") << "a file where the configuration folder should be";
  ::setenv("XDG_CONFIG_HOME", (dir / "file/config").c_str(), 1);
  CPreferencesDlg* dialog = Open();
  ASSERT_NE(dialog, nullptr);
  QString message;
  QTimer poll;  // the message box is modal: read and close it from the event loop it runs
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      message = box->text();
      box->close();
    }
  });
  poll.start(10);
  QPointer<CPreferencesDlg> alive(dialog);
  Press(*dialog, QDialogButtonBox::Ok);  // returns once the message box is closed
  ASSERT_FALSE(alive.isNull());
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(message.contains(QString::fromStdString(dir / "file/config/vx880/settings.reg"))) << message.toStdString();
}

// Thresholds saved with OK mark the open recording's events anew: a braking limit above the card's braking
// takes that braking's mark off the position slider.
TEST_F(PreferencesTest, SavedThresholdsMarkTheOpenRecordingAnew) {
  const TempDir dir("preferences-marks");
  ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  const std::string recording = CardFolder("events-card", "--count 1 --seconds 26") + "/DCIM/100DRIVE/20261206_081500_D01.MP4";
  const std::vector<DetectedEvent> events = SummarizeRecording(recording).events;
  const auto brake = std::find_if(events.begin(), events.end(),
                                  [](const DetectedEvent& e) { return e.kind == DetectedEvent::Kind::HardBraking; });
  ASSERT_NE(brake, events.end()) << "the card maker's first drive brakes hard";
  AddRows({QString::fromStdString(recording)});
  PlayPaused();
  const auto marked = [&] {
    const std::vector<int>& marks = Slider(IDC_POSITION_SLIDER).Marks();
    return std::find(marks.begin(), marks.end(), static_cast<int>(brake->mediaMs)) != marks.end();
  };
  ASSERT_TRUE(marked());

  CPreferencesDlg* dialog = Open();
  ASSERT_NE(dialog, nullptr);
  Box(*dialog, "BrakingG").setValue(5.0);
  ASSERT_TRUE(Accept(dialog));
  EXPECT_FALSE(marked());
}

}  // namespace
}  // namespace vx::test
