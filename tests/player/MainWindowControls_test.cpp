// The window's controls as a user drives them: the keyboard table, the list's menu, the speed buttons, the
// sliders, the map buttons, and where the views and buttons go in both modes.
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "MainWindowFixture.h"
#include "core/player/ControlIds.h"
#include "core/player/VolumeScale.h"
#include "core/player/WindowLayout.h"
#include "engine/GstPtr.h"
#include "player/CRecordingCatalogue.h"
#include "widgets/CTkSlider.h"
#include "widgets/SkinBitmaps.h"
#include "widgets/SkinIds.h"

namespace vx::test {
namespace {

const QRect kLarge(23, 50, 640, 360);
const QRect kSmall(678, 50, 320, 240);

class ControlsTest : public MainWindowTest {
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
  // The views: where each shows, an empty rectangle for a hidden one.
  void ExpectViews(QRect front, QRect rear) {
    EXPECT_EQ(Window().FrontView().isVisible() ? Window().FrontView().geometry() : QRect(), front);
    EXPECT_EQ(Window().RearView().isVisible() ? Window().RearView().geometry() : QRect(), rear);
  }
  bool RearVideoButtonOffers(int bitmap) {
    return ShowsPicture(IDC_REAR_VIDEO, bitmap, bitmap == IDB_REAR_VIEW ? kRearVideoSkinKey : kNormalSkinKey);
  }
  bool PlayButtonShows(int bitmap) {
    return ShowsPicture(IDC_PLAY, bitmap, Window().WindowMode() == 2 ? kFullScreenSkinKey : kNormalSkinKey);
  }
};

// Space, Escape in both modes, F2, F5 and Print Screen are the end-to-end test's.
TEST_F(ControlsTest, TheKeyboardTableDrivesTheWindowWhereverItsFocusIs) {
  Type(Qt::Key_Space);
  ASSERT_EQ(PlayingRow(), 0);
  Type(Qt::Key_Space);
  ASSERT_EQ(State(), EngineState::Paused);
  const std::pair<int, std::int64_t> seeks[] = {
      {Qt::Key_End, DurationMs()}, {Qt::Key_Left, DurationMs() - 1000}, {Qt::Key_Home, 0}, {Qt::Key_Right, 1000}};
  for (const auto& [key, positionMs] : seeks) {
    Type(key);
    EXPECT_EQ(PositionMs(), positionMs) << key;
  }
  Type(Qt::Key_PageDown);
  EXPECT_EQ(PlayingRow(), 1);
  Type(Qt::Key_PageUp);
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
}

// The frame keys pause and step a picture at a time, and the time label shows milliseconds until a seek; the
// wheel zooms a view and the reset key shows the whole picture again.
TEST_F(ControlsTest, FrameKeysStepThePausedPictureAndTheWheelZoomsAViewUntilReset) {
  Type(Qt::Key_Space);
  ASSERT_EQ(PlayingRow(), 0);
  Type(Qt::Key_Period);
  EXPECT_EQ(State(), EngineState::Paused) << "a step while playing pauses first";
  Type(Qt::Key_Home);
  for (const auto& [key, label] : {std::pair{Qt::Key_Period, "00:00.033"}, {Qt::Key_Period, "00:00.066"},
                                   {Qt::Key_Comma, "00:00.033"}, {Qt::Key_Right, "00:00:01"}}) {
    Type(key);
    EXPECT_EQ(Window().ControlText(IDC_CURRENT_TIME), label) << key;
  }
  CNrvVideoView& view = Window().FrontView();
  QCoreApplication::processEvents();  // the view takes its picture from the renderer
  const QPointF at(view.width() / 4.0, view.height() / 2.0);
  QWheelEvent wheel(at, view.mapToGlobal(at), {}, QPoint(0, 4 * 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(&view, &wheel);
  auto* factor = view.findChild<QLabel*>(QStringLiteral("zoomFactor"));
  ASSERT_TRUE(factor);
  EXPECT_EQ(factor->text(), QStringLiteral("2.0\u00d7"));
  EXPECT_TRUE(factor->isVisible());
  Type(Qt::Key_0);
  EXPECT_FALSE(view.Zoom().IsZoomed());
  EXPECT_FALSE(factor->isVisible());
}

// The list's context menu goes through the window's commands; after Stop, Play starts the row that was playing.
TEST_F(ControlsTest, TheListsMenuCommandsDriveTheWindow) {
  DoubleClickRow(1);
  ASSERT_EQ(PlayingRow(), 1);
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
TEST_F(ControlsTest, KeysTypedInAnotherWindowDoNothingHere) {
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

// The label names the rate the engine plays at; the steps stop at both ends and hold for the next recording.
// That nothing steps unless playing is the core's rule.
TEST_F(ControlsTest, SpeedButtonsStepTheRateTheLabelNames) {
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
  Click(IDC_NEXT);
  ASSERT_EQ(PlayingRow(), 1);
  expectSpeed("X 0.6", 0.6f);
}

// The slider seeks where it is pressed, paused or playing. A click leaves it the keyboard focus; Page Down and
// Page Up then reach it after the window has opened the other recording, which starts from its start.
TEST_F(ControlsTest, ThePositionSliderSeeksWhereItIsPressedAndPagingStartsTheOtherRecordingFromItsStart) {
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
// slider's level back, also across recordings; a slider at its left end mutes and shows the muted symbol.
TEST_F(ControlsTest, TheVolumeSliderSetsTheLevelOfThePlayersOwnStream) {
  Click(IDC_PLAY);
  CTkSlider& volume = Slider(IDC_VOLUME_SLIDER);
  const auto expectLevel = [this](int position) { EXPECT_NEAR(SoundLevel(), VolumeLevel(position), 1e-6); };
  expectLevel(volume.GetPos());
  ClickSlider(IDC_VOLUME_SLIDER, 0.3);
  const int position = volume.GetPos();
  expectLevel(position);

  Click(IDC_SOUND);
  EXPECT_EQ(SoundLevel(), 0.0);
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
  EXPECT_TRUE(ShowsPicture(IDC_SOUND, IDB_SOUND_OFF, kNormalSkinKey));
  Click(IDC_SOUND);
  EXPECT_EQ(SoundLevel(), 0.0) << "the button sounds the slider's 0";
  EXPECT_TRUE(ShowsPicture(IDC_SOUND, IDB_SOUND_ON, kNormalSkinKey));
}

// The map buttons act only for a two-stream recording with GPS fixes; how a disabled button looks is the
// button's test and the end-to-end test's.
TEST_F(ControlsTest, MapButtonsAreEnabledOnlyForTwoStreamsWithGps) {
  AddRows({PathOf({"20261206_081900_D05.MP4", "--streams 2 --seconds 2 --no-telemetry"})});
  const auto expectMapButtons = [&](bool enabled, const char* when) {
    for (int id : {IDC_MAP, IDC_LARGE_MAP})
      EXPECT_EQ(Window().Control(id)->isEnabled(), enabled) << id << " " << when;
  };
  expectMapButtons(false, "with nothing loaded");
  Click(IDC_PLAY);
  expectMapButtons(true, "for two streams with GPS");
  Click(IDC_NEXT);
  expectMapButtons(false, "for one stream");
  DoubleClickRow(3);
  ASSERT_EQ(PlayingRow(), 3);
  expectMapButtons(false, "without GPS");
  Click(IDC_STOP);
  expectMapButtons(false, "after Stop");
}

// Which slot each picture takes and the full-screen rectangles are the core's rules; here the views and the
// buttons follow them in the normal window and in full screen, and the window comes back to its corner.
TEST_F(ControlsTest, ViewsAndButtonsFollowTheCommandsInBothModes) {
  PlayPaused();
  EXPECT_TRUE(PlayButtonShows(IDB_PLAY));
  const QPoint corner = Window().pos();
  ExpectViews(kLarge, kSmall);
  EXPECT_TRUE(RearVideoButtonOffers(IDB_REAR_VIEW));
  Click(IDC_SWAP);
  ExpectViews(kSmall, kLarge);
  EXPECT_TRUE(RearVideoButtonOffers(IDB_FRONT_VIEW));
  Click(IDC_REAR_VIDEO);
  ExpectViews(kLarge, kSmall);

  // The window system gives the full-screen window the screen's size; the window lays itself out for it.
  Click(IDC_FULL_SCREEN);
  Window().resize(1024, 768);
  ASSERT_TRUE(WaitUntil([&] { return Window().size() == QSize(1024, 768); }));
  const QRect views(65, 29, 893, 628);
  ExpectViews(views, QRect());
  EXPECT_EQ(Window().Control(IDC_PLAY)->geometry(), QRect(1024 / 2 - 60, 768 - 60, 60, 25));
  EXPECT_FALSE(Window().Catalogue().List()->isVisible() || Window().Control(IDC_FULL_SCREEN)->isVisible());
  EXPECT_TRUE(PlayButtonShows(IDB_FULL_PLAY));
  Type(Qt::Key_Tab);
  ExpectViews(QRect(), views);
  Click(IDC_PLAY);
  EXPECT_TRUE(PlayButtonShows(IDB_FULL_PAUSE));
  Click(IDC_NORMAL_SIZE);
  ASSERT_TRUE(WaitUntil([&] { return Window().size() == QSize(kNormalWindowWidth, kNormalWindowHeight); }));
  EXPECT_TRUE(PlayButtonShows(IDB_PAUSE)) << "still playing in the normal window";
  EXPECT_EQ(Window().pos(), corner);
  ExpectViews(kSmall, kLarge);
  EXPECT_TRUE(RearVideoButtonOffers(IDB_FRONT_VIEW));
  EXPECT_TRUE(Window().Catalogue().List()->isVisible() && !Window().Control(IDC_NORMAL_SIZE)->isVisible());

  // The one-stream recording after a swap: its only picture takes the large slot.
  Click(IDC_NEXT);
  ExpectViews(kLarge, QRect());
}

// Mean difference of two pictures of the same size, per colour channel (0-255).
double MeanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * a.width() * a.height());
}

TEST_F(ControlsTest, AResizeWhilePausedShowsThePausedPictureAtTheNewSize) {
  PlayPaused();
  CNrvVideoView& front = Window().FrontView();
  const auto shown = [&front] {
    QCoreApplication::processEvents();  // the renderer hands its picture over by a queued call
    const QImage picture = front.grab().toImage().convertToFormat(QImage::Format_RGB32);
    return picture.scaled(160, 90, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  };
  Type(Qt::Key_Home);
  const QImage atStart = shown();
  Type(Qt::Key_Right);
  const QImage paused = shown();
  ASSERT_GT(MeanDifference(atStart, paused), 1.0) << "the pictures at 0 s and 1 s must differ for this test";

  Click(IDC_FULL_SCREEN);
  Window().resize(1920, 1080);
  ASSERT_TRUE(WaitUntil([&] { return front.size() == QSize(1280, 720); }));
  EXPECT_EQ(PositionMs(), 1000);
  const QImage resized = shown();
  EXPECT_LT(MeanDifference(resized, paused), 4.0) << "the view shows the paused picture";
  EXPECT_GT(MeanDifference(resized, atStart), MeanDifference(resized, paused));
}

}  // namespace
}  // namespace vx::test
