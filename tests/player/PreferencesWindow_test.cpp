// The Preferences dialog opened from the list's menu: OK keeps the values in the viewer's store, Defaults and
// Cancel do what they say, a store that cannot be written is named, and the readout follows the speed unit.
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

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

// Sets an environment variable for the life of the object, then puts back what was there.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    ::setenv(name, value, 1);
  }
  ~ScopedVariable() { m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name); }

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

// The readout under the video shows the nearest fix and accelerometer sample to the playing position: in the
// card's km/h even where the locale counts in miles, in mph once the preference says so, dashes once stopped.
TEST_F(PreferencesTest, ReadoutShowsThePlayingMomentInTheCardsUnitUntilThePreferenceNamesOne) {
  const TempDir dir("preferences-readout");
  ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  const ScopedVariable locale("LC_ALL", "en_US.UTF-8");
  const std::string recording = CardFolder("events-card", "--count 1 --seconds 26") + "/DCIM/100DRIVE/20261206_081500_D01.MP4";
  AddRows({QString::fromStdString(recording)});
  PlayPaused();
  const TelemetryTrack& track = Window().Telemetry();
  const auto fastest = std::max_element(track.gps.begin(), track.gps.end(),
                                        [](const GpsSample& a, const GpsSample& b) { return a.speedKmh < b.speedKmh; });
  ASSERT_NE(fastest, track.gps.end());
  Window().Engine().Recording()->SetPosition(static_cast<RefTime>(fastest->mediaMs) * kRefTimePerMs);
  Window().UpdateTimeline();
  const auto nearest = [position = PositionMs()](const auto& samples) {
    return *std::min_element(samples.begin(), samples.end(), [&](const auto& a, const auto& b) {
      return std::llabs(a.mediaMs - position) < std::llabs(b.mediaMs - position);
    });
  };
  const GpsSample fix = nearest(track.gps);
  const AccelSample accel = nearest(track.accel);
  ASSERT_TRUE(fix.valid && fix.headingDeg && fix.speedKmh > 10.0);
  const QString heading = QStringLiteral("%1\u00b0").arg(std::lround(*fix.headingDeg) % 360);
  const QString g = QString::number(std::hypot(accel.x, accel.y, accel.z), 'f', 2) + " g";
  const QString kmh = QStringLiteral("%1 km/h").arg(std::lround(fix.speedKmh));
  for (const QString& part : {kmh, heading, g}) {
    EXPECT_TRUE(Text(IDC_READOUT).contains(part)) << Text(IDC_READOUT).toStdString() << " lacks " << part.toStdString();
  }

  CPreferencesDlg* dialog = Open();
  ASSERT_NE(dialog, nullptr);
  dialog->findChild<QComboBox*>(QStringLiteral("SpeedUnit"))->setCurrentIndex(static_cast<int>(SpeedUnitChoice::Mph));
  ASSERT_TRUE(Accept(dialog));
  const QString mph = QStringLiteral("%1 mph").arg(std::lround(fix.speedKmh / 1.609344));
  EXPECT_TRUE(Text(IDC_READOUT).contains(mph)) << Text(IDC_READOUT).toStdString();

  Click(IDC_STOP);
  EXPECT_FALSE(Text(IDC_READOUT).contains(QRegularExpression(QStringLiteral("[0-9]")))) << Text(IDC_READOUT).toStdString();
}

}  // namespace
}  // namespace vx::test
