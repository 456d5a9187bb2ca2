// The window's transport as a user drives it: the keyboard table, the speed buttons and their label, the
// position slider and the volume.
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTreeView>
#include <QVBoxLayout>

#include "MainWindowFixture.h"
#include "core/player/ControlIds.h"
#include "core/player/VolumeScale.h"
#include "core/player/WindowLayout.h"
#include "engine/GstPtr.h"
#include "player/CRecordingCatalogue.h"
#include "settings/CSettingDlg.h"
#include "widgets/CTkSlider.h"

namespace vx::test {
namespace {

// The volume element keeps its level in single precision.
constexpr double kLevelPrecision = 1e-6;

class TransportTest : public MainWindowTest {
 protected:
  void AddThreeRows() { AddRows({PathOf(kTwoStreams3s), PathOf(kOneStreamAvi2s), PathOf(kTwoStreamsAvi2s)}); }
  // Plays the first row and pauses it at its start.
  void PauseFirstRowAtItsStart() {
    Click(IDC_PLAY);
    Click(IDC_PLAY);
    ASSERT_EQ(State(), EngineState::Paused);
    Type(Qt::Key_Home);
    ASSERT_EQ(PositionMs(), 0);
  }
  // The level of the loaded recording's sound: the volume element inside its sound renderer.
  double SoundLevel() {
    GstElement* pipeline = Window().Engine().Recording()->Pipeline();
    GstPtr<GstElement> renderer = Adopt(gst_bin_get_by_name(GST_BIN(pipeline), "DirectSound Audio Renderer"));
    EXPECT_TRUE(renderer);
    if (!renderer) return -1;
    GstPtr<GstElement> volume = Adopt(gst_bin_get_by_name(GST_BIN(renderer.get()), "level"));
    EXPECT_TRUE(volume);
    if (!volume) return -1;
    double level = -1;
    g_object_get(volume.get(), "volume", &level, nullptr);
    return level;
  }
  // The label names the rate the engine plays at.
  void ExpectSpeed(const char* label, float rate) {
    EXPECT_EQ(Text(IDC_SPEED_LABEL), label);
    EXPECT_FLOAT_EQ(Window().Engine().Recording()->Rate(), rate);
  }
  // Presses the left mouse button on the slider `fraction` of its width from the left, and lets go.
  void ClickSlider(int id, double fraction) {
    CTkSlider& slider = Slider(id);
    const QPoint at(static_cast<int>(fraction * (slider.width() - 1)), slider.height() / 2);
    QTest::mousePress(&slider, Qt::LeftButton, {}, at);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();  // the slider posts its notification
  }
};

TEST_F(TransportTest, TheKeyboardTableDrivesTheWindowWhereverItsFocusIs) {
  AddThreeRows();
  Type(Qt::Key_Space);
  ASSERT_EQ(PlayingRow(), 0);
  EXPECT_EQ(State(), EngineState::Running);
  Type(Qt::Key_Space);
  EXPECT_EQ(State(), EngineState::Paused);
  EXPECT_EQ(Text(IDC_PLAY), "Play");

  // Tab is checked in full screen (MainWindowLayout_test), F2 and Print Screen in MainWindowUse_test.
  const std::pair<int, std::int64_t> seeks[] = {{Qt::Key_Home, 0}, {Qt::Key_Right, 1000},
                                                {Qt::Key_End, DurationMs()}, {Qt::Key_Left, DurationMs() - 1000},
                                                {Qt::Key_Home, 0}};
  for (const auto& [key, positionMs] : seeks) {
    Type(key);
    EXPECT_EQ(PositionMs(), positionMs) << key;
  }
  EXPECT_EQ(Text(IDC_CURRENT_TIME), "00:00:00");

  Type(Qt::Key_PageDown);
  EXPECT_EQ(PlayingRow(), 1);
  EXPECT_EQ(State(), EngineState::Running);
  Type(Qt::Key_PageUp);
  EXPECT_EQ(PlayingRow(), 0);
  Type(Qt::Key_PageUp);
  EXPECT_EQ(PlayingRow(), 0) << "nothing before the first row";

  Type(Qt::Key_Return);
  EXPECT_EQ(Window().WindowMode(), 2);
  Type(Qt::Key_Enter);
  EXPECT_EQ(Window().WindowMode(), 1);

  // The same keys reach the window while its list has the focus; each acts once, also when the list passes
  // it on to the window.
  QTreeView* list = Window().Catalogue().List();
  list->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), list);
  Type(Qt::Key_Space);
  EXPECT_EQ(State(), EngineState::Paused);
  Type(Qt::Key_Home);
  Type(Qt::Key_Right);
  EXPECT_EQ(PositionMs(), 1000);
  Type(Qt::Key_PageDown);
  EXPECT_EQ(PlayingRow(), 1);
  EXPECT_EQ(State(), EngineState::Running);

  SelectRows({2});
  Type(Qt::Key_A);
  EXPECT_EQ(SelectedRows(), std::vector<int>{2}) << "A alone selects nothing more";
  Type(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 1, 2}));
  SelectRows({2});
  Type(Qt::Key_Delete);
  EXPECT_EQ(Window().Catalogue().RowCount(), 2);
  EXPECT_TRUE(QFile::exists(PathOf(kTwoStreamsAvi2s))) << "a removed row leaves its file";

  // F5 opens the settings after the card's drive is chosen.
  EXPECT_EQ(DismissModalOpenedBy([] { Type(Qt::Key_F5); }), QStringList{"vx::CSelectDriveDlg"});
  auto* settings = Window().findChild<CSettingDlg*>();
  ASSERT_NE(settings, nullptr);
  EXPECT_TRUE(settings->isVisible());
  settings->close();
  ASSERT_TRUE(Activate(Window()));

  Type(Qt::Key_Escape);
  EXPECT_FALSE(Window().isVisible());
  EXPECT_FALSE(Window().IsTimerActive());
}

// The list plays the row double-clicked, routes its context menu through the window's commands, and after
// Stop, Play starts the row that was playing again.
TEST_F(TransportTest, TheListPlaysTheRowDoubleClickedAndItsMenuCommands) {
  AddThreeRows();
  DoubleClickRow(1);
  ASSERT_EQ(PlayingRow(), 1);
  EXPECT_EQ(LoadedPath(), PathOf(kOneStreamAvi2s));
  EXPECT_EQ(State(), EngineState::Running);

  const auto choose = [&](const QString& text) {
    for (QAction* action : Window().Catalogue().ContextMenu()->actions())
      if (action->text() == text) action->trigger();
  };
  choose("Next(&N)");
  EXPECT_EQ(PlayingRow(), 2);
  choose("Play(&P)");
  EXPECT_EQ(State(), EngineState::Paused);
  EXPECT_TRUE(Window().IsTimerActive()) << "the timer keeps the timeline in step while paused";
  choose("Stop(&S)");
  ExpectIdle();
  choose("Play(&P)");
  EXPECT_EQ(PlayingRow(), 2);
  EXPECT_EQ(State(), EngineState::Running);
  choose("Back(&B)");
  EXPECT_EQ(PlayingRow(), 1);
}

// Keys typed in another top-level window of the program (a dialog over the main window, or one of its own)
// are that window's: Space, Delete, Enter and the arrows do nothing to the main window.
TEST_F(TransportTest, KeysTypedInAnotherWindowDoNothingHere) {
  AddThreeRows();
  Click(IDC_PLAY);
  ASSERT_EQ(State(), EngineState::Running);
  Window().OnCommand(ID_SELECT_ALL);
  const std::int64_t duration = DurationMs();

  QDialog dialog(&Window());
  auto* edit = new QLineEdit(&dialog);
  (new QVBoxLayout(&dialog))->addWidget(edit);
  ASSERT_TRUE(Activate(dialog));
  edit->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), edit);
  for (int key : {Qt::Key_Space, Qt::Key_Delete, Qt::Key_Return, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Tab})
    Type(key);
  Type(Qt::Key_A, Qt::ControlModifier);

  EXPECT_EQ(State(), EngineState::Running);
  EXPECT_EQ(PlayingRow(), 0);
  EXPECT_LT(PositionMs(), duration);
  EXPECT_EQ(Window().Catalogue().RowCount(), 3);
  EXPECT_EQ(Window().WindowMode(), 1);
  EXPECT_EQ(Window().Slots(), (ViewSlots{ViewSlot::Large, ViewSlot::Small, ViewSlot::Hidden}));
  EXPECT_EQ(edit->text(), " ") << "the dialog's own control had the keys";
}

TEST_F(TransportTest, SpeedButtonsStepTheRateTheLabelNames) {
  AddThreeRows();
  EXPECT_EQ(Text(IDC_SPEED_LABEL), "X 1.0");
  Click(IDC_FASTER);
  EXPECT_EQ(Text(IDC_SPEED_LABEL), "X 1.0") << "nothing loaded: no step";

  Click(IDC_PLAY);
  const auto press = [this](int id, int times) {
    for (int n = 0; n < times; ++n) Click(id);
  };
  press(IDC_FASTER, 6);
  ExpectSpeed("X 2.0", 2.0f);  // the fastest step, pressed once more
  press(IDC_SLOWER, 9);
  ExpectSpeed("X 0.5", 0.5f);
  Click(IDC_FASTER);
  ExpectSpeed("X 0.6", 0.6f);
  EXPECT_EQ(State(), EngineState::Running);

  // Paused: the buttons change nothing, label included.
  Click(IDC_PLAY);
  ASSERT_EQ(State(), EngineState::Paused);
  press(IDC_FASTER, 2);
  ExpectSpeed("X 0.6", 0.6f);
  EXPECT_EQ(Window().SpeedStep(), 3);

  // The step holds for the next recording.
  Click(IDC_NEXT);
  ASSERT_EQ(PlayingRow(), 1);
  ExpectSpeed("X 0.6", 0.6f);
}

TEST_F(TransportTest, ThePositionSliderSeeksWhereItIsPressed) {
  AddThreeRows();
  PauseFirstRowAtItsStart();
  CTkSlider& slider = Slider(IDC_POSITION_SLIDER);
  ASSERT_EQ(slider.GetRangeMax(), DurationMs());
  for (double fraction : {0.5, 0.9, 0.25}) {
    ClickSlider(IDC_POSITION_SLIDER, fraction);
    SCOPED_TRACE(fraction);
    EXPECT_GT(slider.GetPos(), 0);
    EXPECT_EQ(PositionMs(), slider.GetPos());
    EXPECT_EQ(State(), EngineState::Paused);
  }
  EXPECT_EQ(Text(IDC_CURRENT_TIME), "00:00:00");
  ClickSlider(IDC_POSITION_SLIDER, 0.5);
  EXPECT_EQ(Text(IDC_CURRENT_TIME), "00:00:01");

  // While playing, the recording goes on from where the slider was pressed.
  Click(IDC_PLAY);
  ClickSlider(IDC_POSITION_SLIDER, 0.75);
  EXPECT_EQ(State(), EngineState::Running);
  EXPECT_GE(PositionMs(), slider.GetPos());
  EXPECT_GT(slider.GetPos(), slider.GetRangeMax() / 2);
}

// A click on the timeline leaves it the keyboard focus; Page Down and Page Up then reach it after the window
// has opened the next recording, and it pages from where the thumb stands.
TEST_F(TransportTest, PagingWithTheTimelineFocusedStartsTheOtherRecordingFromItsStart) {
  AddThreeRows();
  Click(IDC_PLAY);
  Click(IDC_PLAY);
  ClickSlider(IDC_POSITION_SLIDER, 0.9);
  ASSERT_EQ(QApplication::focusWidget(), &Slider(IDC_POSITION_SLIDER));
  ASSERT_GT(PositionMs(), 2000);
  Type(Qt::Key_PageDown);
  QCoreApplication::processEvents();
  ASSERT_EQ(PlayingRow(), 1);
  EXPECT_LT(PositionMs(), 1000);
  EXPECT_LT(Slider(IDC_POSITION_SLIDER).GetPos(), 1000);

  ClickSlider(IDC_POSITION_SLIDER, 0.9);
  Type(Qt::Key_PageUp);
  QCoreApplication::processEvents();
  ASSERT_EQ(PlayingRow(), 0);
  EXPECT_LT(PositionMs(), 1000);
}

TEST_F(TransportTest, TheVolumeSliderSetsTheLevelOfThePlayersOwnStream) {
  AddThreeRows();
  Click(IDC_PLAY);
  CTkSlider& volume = Slider(IDC_VOLUME_SLIDER);
  EXPECT_EQ(volume.GetPos(), kDefaultVolumePosition);
  EXPECT_NEAR(SoundLevel(), VolumeLevel(kDefaultVolumePosition), kLevelPrecision);
  ClickSlider(IDC_VOLUME_SLIDER, 1.0);
  EXPECT_EQ(volume.GetPos(), 99);
  ClickSlider(IDC_VOLUME_SLIDER, 0.3);
  const int position = volume.GetPos();
  EXPECT_NEAR(SoundLevel(), VolumeLevel(position), kLevelPrecision);

  // The sound button silences the stream and gives it the slider's level back; the slider stays.
  EXPECT_TRUE(ShowsPicture(IDC_SOUND, 299, kNormalSkinKey));
  Click(IDC_SOUND);
  EXPECT_EQ(SoundLevel(), 0.0);
  EXPECT_TRUE(ShowsPicture(IDC_SOUND, 252, kNormalSkinKey));
  Click(IDC_NEXT);
  ASSERT_EQ(PlayingRow(), 1);
  EXPECT_EQ(SoundLevel(), 0.0) << "a new recording starts silent while the sound is off";
  Click(IDC_SOUND);
  EXPECT_NEAR(SoundLevel(), VolumeLevel(position), kLevelPrecision);
  EXPECT_EQ(volume.GetPos(), position);
  Click(IDC_NEXT);
  ASSERT_EQ(PlayingRow(), 2);
  EXPECT_NEAR(SoundLevel(), VolumeLevel(position), kLevelPrecision) << "a new recording starts at the slider's level";

  // Dragged to the left end, the slider mutes and the button shows it; the button then sounds the slider's 0.
  ClickSlider(IDC_VOLUME_SLIDER, 0.0);
  EXPECT_EQ(volume.GetPos(), 0);
  EXPECT_EQ(SoundLevel(), 0.0);
  EXPECT_TRUE(ShowsPicture(IDC_SOUND, 252, kNormalSkinKey));
  Click(IDC_SOUND);
  EXPECT_EQ(SoundLevel(), 0.0);
  EXPECT_TRUE(ShowsPicture(IDC_SOUND, 299, kNormalSkinKey));
}

}  // namespace
}  // namespace vx::test
