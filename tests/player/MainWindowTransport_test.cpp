// The window's transport as a user drives it: the keyboard table, the list's menu, the speed buttons, the
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

class TransportTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    AddRows({PathOf(kTwoStreams3s), PathOf(kOneStreamAvi2s), PathOf(kTwoStreamsAvi2s)});
  }
  // The level of the loaded recording's sound: the volume element inside its sound renderer; -1 without one.
  double SoundLevel() {
    GstElement* pipeline = Window().Engine().Recording()->Pipeline();
    GstPtr<GstElement> renderer = Adopt(gst_bin_get_by_name(GST_BIN(pipeline), "DirectSound Audio Renderer"));
    GstPtr<GstElement> volume;
    if (renderer) volume = Adopt(gst_bin_get_by_name(GST_BIN(renderer.get()), "level"));
    double level = -1;
    if (volume) g_object_get(volume.get(), "volume", &level, nullptr);
    return level;
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
  Type(Qt::Key_Space);
  ASSERT_EQ(PlayingRow(), 0);
  EXPECT_EQ(State(), EngineState::Running);
  Type(Qt::Key_Space);
  EXPECT_EQ(State(), EngineState::Paused);
  EXPECT_EQ(Text(IDC_PLAY), "Play");

  // Tab, F2 and Print Screen are checked in MainWindowLayout_test.
  const std::pair<int, std::int64_t> seeks[] = {{Qt::Key_Home, 0}, {Qt::Key_Right, 1000},
                                                {Qt::Key_End, DurationMs()}, {Qt::Key_Left, DurationMs() - 1000},
                                                {Qt::Key_Home, 0}};
  for (const auto& [key, positionMs] : seeks) {
    Type(key);
    EXPECT_EQ(PositionMs(), positionMs) << key;
  }
  Type(Qt::Key_PageDown);
  EXPECT_EQ(PlayingRow(), 1);
  EXPECT_EQ(State(), EngineState::Running);
  Type(Qt::Key_PageUp);
  Type(Qt::Key_PageUp);
  EXPECT_EQ(PlayingRow(), 0) << "nothing before the first row";

  Type(Qt::Key_Return);
  EXPECT_EQ(Window().WindowMode(), 2);
  Type(Qt::Key_Escape);
  EXPECT_TRUE(Window().WindowMode() == 1 && Window().isVisible() && !Window().isFullScreen())
      << "Escape leaves full screen first";
  Type(Qt::Key_Enter);
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
  // The playing row removed: its recording plays on, its file stays, and Next plays the row that followed it.
  Type(Qt::Key_Space);  // paused, so that nothing ends while the rows change
  SelectRows({1});
  Type(Qt::Key_Delete);
  EXPECT_EQ(Window().Catalogue().RowCount(), 2);
  EXPECT_TRUE(QFile::exists(PathOf(kOneStreamAvi2s)));
  EXPECT_EQ(LoadedPath(), PathOf(kOneStreamAvi2s));
  Type(Qt::Key_PageDown);
  EXPECT_EQ(LoadedPath(), PathOf(kTwoStreamsAvi2s));

  // F5 opens the settings after the card's drive is chosen.
  EXPECT_EQ(DismissModalOpenedBy([] { Type(Qt::Key_F5); }), QStringList{"vx::CSelectDriveDlg"});
  auto* settings = Window().findChild<CSettingDlg*>();
  ASSERT_TRUE(settings && settings->isVisible());
  settings->close();
  ASSERT_TRUE(Activate(Window()));

  Type(Qt::Key_Escape);
  EXPECT_FALSE(Window().isVisible());
  EXPECT_FALSE(Window().IsTimerActive());
}

// The list plays the row double-clicked, routes its context menu through the window's commands, and after
// Stop, Play starts the row that was playing again.
TEST_F(TransportTest, TheListPlaysTheRowDoubleClickedAndItsMenuCommands) {
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
  Click(IDC_PLAY);
  Window().OnCommand(ID_SELECT_ALL);
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
  EXPECT_LT(PositionMs(), DurationMs());
  EXPECT_EQ(Window().Catalogue().RowCount(), 3);
  EXPECT_EQ(Window().WindowMode(), 1);
  EXPECT_EQ(Window().Slots(), (ViewSlots{ViewSlot::Large, ViewSlot::Small, ViewSlot::Hidden}));
  EXPECT_EQ(edit->text(), " ") << "the dialog's own control had the keys";
}

// The label names the rate the engine plays at; the steps stop at both ends, change nothing while paused and
// hold for the next recording.
TEST_F(TransportTest, SpeedButtonsStepTheRateTheLabelNames) {
  Click(IDC_FASTER);
  EXPECT_EQ(Text(IDC_SPEED_LABEL), "X 1.0") << "nothing loaded: no step";
  const auto press = [this](int id, int times) {
    for (int n = 0; n < times; ++n) Click(id);
  };
  const auto expectSpeed = [this](const char* label, float rate) {
    EXPECT_EQ(Text(IDC_SPEED_LABEL), label);
    EXPECT_FLOAT_EQ(Window().Engine().Recording()->Rate(), rate);
  };
  Click(IDC_PLAY);
  press(IDC_FASTER, 6);
  expectSpeed("X 2.0", 2.0f);  // the fastest step, pressed once more
  press(IDC_SLOWER, 9);
  Click(IDC_FASTER);
  expectSpeed("X 0.6", 0.6f);  // one above the slowest
  Click(IDC_PLAY);
  press(IDC_FASTER, 2);
  expectSpeed("X 0.6", 0.6f);
  Click(IDC_NEXT);
  ASSERT_EQ(PlayingRow(), 1);
  expectSpeed("X 0.6", 0.6f);
}

// The slider seeks where it is pressed, paused or playing. A click leaves it the keyboard focus; Page Down and
// Page Up then reach it after the window has opened the other recording, which starts from its start.
TEST_F(TransportTest, ThePositionSliderSeeksWhereItIsPressedAndPagingStartsTheOtherRecordingFromItsStart) {
  PlayPaused();
  CTkSlider& slider = Slider(IDC_POSITION_SLIDER);
  ASSERT_EQ(slider.GetRangeMax(), DurationMs());
  ClickSlider(IDC_POSITION_SLIDER, 0.5);
  EXPECT_EQ(PositionMs(), slider.GetPos());
  EXPECT_EQ(Text(IDC_CURRENT_TIME), "00:00:01");
  EXPECT_EQ(State(), EngineState::Paused);

  ClickSlider(IDC_POSITION_SLIDER, 0.9);
  ASSERT_EQ(QApplication::focusWidget(), &slider);
  ASSERT_GT(PositionMs(), 2000);
  Type(Qt::Key_PageDown);
  QCoreApplication::processEvents();
  ASSERT_EQ(PlayingRow(), 1);
  EXPECT_LT(PositionMs(), 1000);
  EXPECT_LT(slider.GetPos(), 1000);
  ClickSlider(IDC_POSITION_SLIDER, 0.9);
  Type(Qt::Key_PageUp);
  QCoreApplication::processEvents();
  ASSERT_EQ(PlayingRow(), 0);
  EXPECT_LT(PositionMs(), 1000);

  // While playing, the recording goes on from where the slider was pressed.
  ClickSlider(IDC_POSITION_SLIDER, 0.75);
  EXPECT_EQ(State(), EngineState::Running);
  EXPECT_GE(PositionMs(), slider.GetPos());
  EXPECT_GT(slider.GetPos(), slider.GetRangeMax() / 2);
}

// The slider sets the level of the player's own stream; the sound button silences it and gives it the
// slider's level back, also across recordings; a slider at its left end mutes.
TEST_F(TransportTest, TheVolumeSliderSetsTheLevelOfThePlayersOwnStream) {
  Click(IDC_PLAY);
  CTkSlider& volume = Slider(IDC_VOLUME_SLIDER);
  const auto expectLevel = [this](int position) { EXPECT_NEAR(SoundLevel(), VolumeLevel(position), 1e-6); };
  EXPECT_EQ(volume.GetPos(), kDefaultVolumePosition);
  expectLevel(kDefaultVolumePosition);
  ClickSlider(IDC_VOLUME_SLIDER, 1.0);
  EXPECT_EQ(volume.GetPos(), 99);
  ClickSlider(IDC_VOLUME_SLIDER, 0.3);
  const int position = volume.GetPos();
  expectLevel(position);

  Click(IDC_SOUND);
  EXPECT_EQ(SoundLevel(), 0.0);
  EXPECT_TRUE(ShowsPicture(IDC_SOUND, 252, kNormalSkinKey));
  Click(IDC_NEXT);
  EXPECT_EQ(SoundLevel(), 0.0) << "a new recording starts silent while the sound is off";
  Click(IDC_SOUND);
  expectLevel(position);
  EXPECT_EQ(volume.GetPos(), position);
  Click(IDC_NEXT);
  ASSERT_EQ(PlayingRow(), 2);
  expectLevel(position);

  ClickSlider(IDC_VOLUME_SLIDER, 0.0);
  EXPECT_EQ(SoundLevel(), 0.0);
  EXPECT_TRUE(ShowsPicture(IDC_SOUND, 252, kNormalSkinKey));
  Click(IDC_SOUND);
  EXPECT_EQ(SoundLevel(), 0.0) << "the button sounds the slider's 0";
  EXPECT_TRUE(ShowsPicture(IDC_SOUND, 299, kNormalSkinKey));
}

}  // namespace
}  // namespace vx::test
