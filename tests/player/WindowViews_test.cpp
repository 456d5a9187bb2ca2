// The map and the acceleration graph inside the real main window.
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include "MainWindowFixture.h"
#include "core/player/ControlIds.h"
#include "player/CRecordingCatalogue.h"
#include "player/QtRect.h"
#include "views/CMapView.h"

namespace vx::test {
namespace {

// The window paused at a known place of a recording with an event: the pictures of the screenshots stay put.
class WindowViewsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    AddRows({PathOf({"views-event.MP4", "--streams 2 --seconds 4 --event"})});
    PlayPaused();
    Window().Engine().SeekMs(2500);
    Window().UpdateTimeline();
  }

  CMapView* Map() { return qobject_cast<CMapView*>(Window().Control(IDC_MAP_VIEW)); }

  // The map page's own account of where its marker stands.
  QJsonObject PageState() {
    QString text;
    Map()->CallScript(QStringLiteral("javascript:MapViewState()"), [&](const QString& result) { text = result; });
    WaitUntil([&] { return !text.isEmpty(); }, 10'000);
    return QJsonDocument::fromJson(text.toUtf8()).object();
  }

  // Plays a recording after the one the window has.
  void PlayNextRecording(const CardRecording& recording) {
    AddRows({PathOf(recording)});
    Window().PlayNext();
  }
};

TEST_F(WindowViewsTest, TheMapShowsSmallThenLargeBesideTheVideoAndFollowsTheTimeline) {
  ASSERT_EQ(Window().Slots(), (ViewSlots{ViewSlot::Large, ViewSlot::Small, ViewSlot::Hidden}));
  Window().OnCommand(IDC_MAP);
  ASSERT_NE(Map(), nullptr);
  EXPECT_EQ(Window().Slots().map, ViewSlot::Small);
  EXPECT_EQ(Map()->geometry(), QRect(678, 50, 320, 240));
  ASSERT_TRUE(WaitUntil([&] { return PageState().contains(QStringLiteral("marker")); }));
  Window().UpdateTimeline();
  ASSERT_TRUE(WaitUntil([&] { return !PageState().value(QStringLiteral("marker")).isNull(); }));

  Window().OnCommand(IDC_LARGE_MAP);
  EXPECT_EQ(Window().Slots().map, ViewSlot::Large);
  EXPECT_EQ(Map()->geometry(), QRect(23, 50, 640, 360));
  EXPECT_TRUE(Window().FrontView().isVisible() || Window().RearView().isVisible()) << "the video stays in view";
}

// The graph window opens on its button, closes by its close box, and closes with the main window.
TEST_F(WindowViewsTest, TheGraphWindowOpensOnItsButtonAndClosesByItsCloseBoxAndWithTheWindow) {
  Window().OnCommand(IDC_GSENSOR);
  QWidget* graph = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets())
    if (top != &Window() && top->isVisible() && top->inherits("vx::CGSensorDlg")) graph = top;
  ASSERT_NE(graph, nullptr);
  graph->close();
  Window().OnCommand(IDC_GSENSOR);
  EXPECT_TRUE(graph->isVisible()) << "one press after the close box shows the window again";
  Window().close();
  EXPECT_FALSE(graph->isVisible());
}

// The large map of a two-stream recording stays while a one-stream recording opens; full screen, which has no
// map, then shows the front picture in its place.
TEST_F(WindowViewsTest, FullScreenAfterTheLargeMapAndAOneStreamRecordingShowsThePicture) {
  Window().OnCommand(IDC_LARGE_MAP);
  ASSERT_EQ(Window().Slots().map, ViewSlot::Large);
  PlayNextRecording({"views-one.AVI", "--streams 1 --seconds 2"});
  ASSERT_EQ(Window().Engine().Recording()->VideoStreamCount(), 1);
  Window().ToggleFullScreen();
  ASSERT_TRUE(WaitUntil([&] { return Window().isFullScreen(); }));
  EXPECT_TRUE(Window().FrontView().isVisible());
  EXPECT_EQ(Window().FrontView().geometry(), ToQRect(FullScreenViewRect(Window().width(), Window().height())));
}

// A recording without GPS has no map to show: the large map of the recording before gives its place back to
// the videos, as the map buttons that could put it away are disabled.
TEST_F(WindowViewsTest, ARecordingWithoutGpsPutsTheMapAway) {
  Window().OnCommand(IDC_LARGE_MAP);
  ASSERT_EQ(Window().Slots().map, ViewSlot::Large);
  PlayNextRecording({"views-no-gps.MP4", "--no-telemetry --seconds 2"});
  EXPECT_EQ(Window().Slots(), (ViewSlots{ViewSlot::Large, ViewSlot::Small, ViewSlot::Hidden}));
  EXPECT_EQ(Window().FrontView().geometry(), ToQRect(kLargeSlot));
}

}  // namespace
}  // namespace vx::test
