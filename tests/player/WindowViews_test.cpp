// The map inside the real main window: beside the video, given up where full screen or a recording has none.
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <fstream>

#include "MainWindowFixture.h"
#include "NmeaText.h"
#include "core/player/ControlIds.h"
#include "ToolRunner.h"
#include "app/CSettingsStore.h"
#include "player/CRecordingCatalogue.h"
#include "player/QtRect.h"
#include "views/CMapView.h"

namespace vx::test {
namespace {

// The window paused at a known place of a recording with GPS fixes.
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

// The map takes the small slot and its marker follows the window's timeline; BIG MAP is the end-to-end test's.
TEST_F(WindowViewsTest, TheSmallMapShowsBesideTheVideoAndFollowsTheTimeline) {
  Window().OnCommand(IDC_MAP);
  ASSERT_NE(Map(), nullptr);
  EXPECT_EQ(Map()->geometry(), QRect(678, 50, 320, 240));
  ASSERT_TRUE(WaitUntil([&] { return PageState().contains(QStringLiteral("marker")); }));
  Window().UpdateTimeline();
  ASSERT_TRUE(WaitUntil([&] { return !PageState().value(QStringLiteral("marker")).isNull(); }));
}

// Faults guarded: the browser engine started at the first press of MAP and froze the window. It is made with
// its page after the first picture, unasked, and the press shows that page as it is, car in place. And a web
// view prepared in the window made Qt compose the whole window with OpenGL, several times the CPU of playing
// where OpenGL is drawn in software: the window holds a web view only while the map shows.
TEST_F(WindowViewsTest, TheMapIsPreparedAfterTheFirstPictureAndThePressShowsItWithoutALoad) {
  const auto webViews = [&] { return Window().findChildren<QWebEngineView*>().size(); };
  ASSERT_TRUE(WaitUntil([&] { return Map() && !PageState().value(QStringLiteral("marker")).isNull(); }));
  EXPECT_EQ(Window().Slots().map, ViewSlot::Hidden);
  EXPECT_EQ(webViews(), 0);
  QSignalSpy loads(Map()->Page(), &QWebEnginePage::loadStarted);
  Window().OnCommand(IDC_MAP);
  EXPECT_EQ(Map()->geometry(), QRect(678, 50, 320, 240));
  EXPECT_EQ(webViews(), 1);
  EXPECT_FALSE(PageState().value(QStringLiteral("marker")).isNull());
  Window().OnCommand(IDC_MAP);
  EXPECT_EQ(webViews(), 0);
  EXPECT_TRUE(loads.isEmpty());
}

// The large map stays while a one-stream recording with GPS opens; full screen, which has no map, shows the
// front picture in its place. A recording without GPS has no map to show: the large map gives its place back
// to the videos, as the map buttons that could put it away are disabled.
TEST_F(WindowViewsTest, TheLargeMapGivesWayToThePictureInFullScreenAndToTheVideosWithoutGps) {
  Window().OnCommand(IDC_LARGE_MAP);
  PlayNextRecording({"views-one.AVI", "--streams 1 --seconds 2"});
  ASSERT_EQ(Window().Slots().map, ViewSlot::Large);
  Window().ToggleFullScreen();
  ASSERT_TRUE(WaitUntil([&] { return Window().isFullScreen(); }));
  EXPECT_TRUE(Window().FrontView().isVisible());
  EXPECT_EQ(Window().FrontView().geometry(), ToQRect(FullScreenViewRect(Window().width(), Window().height())));
  Window().ToggleFullScreen();
  ASSERT_TRUE(WaitUntil([&] { return !Window().isFullScreen(); }));
  PlayNextRecording({"views-two-no-gps.MP4", "--no-telemetry --seconds 2"});  // named to sort last
  EXPECT_EQ(Window().Slots(), (ViewSlots{ViewSlot::Large, ViewSlot::Small, ViewSlot::Hidden}));
  EXPECT_EQ(Window().FrontView().geometry(), ToQRect(kLargeSlot));
}

// Another camera's recording: no log of ours inside, its fixes in an NMEA log beside it. The map buttons act
// for it, and the map draws its track.
TEST_F(WindowViewsTest, ARecordingWithAnNmeaLogBesideItHasItsTrackOnTheMap) {
  const QString video = PathOf({"views-nmea.MP4", "--streams 2 --seconds 2 --no-telemetry"});
  std::ofstream(video.chopped(4).toStdString() + ".NMEA")
      << WithChecksum("GPRMC,101500.00,A,3733.1234,N,12658.5678,E,30.0,90.5,120624,,,A") << "\r\n"
      << WithChecksum("GPRMC,101501.00,A,3733.2000,N,12658.6000,E,31.5,91.0,120624,,,A") << "\r\n"
      << WithChecksum("GPRMC,101502.00,A,3733.3000,N,12658.7000,E,32.0,91.5,120624,,,A") << "\r\n";
  PlayNextRecording({"views-nmea.MP4", "--streams 2 --seconds 2 --no-telemetry"});
  Window().PlayPause();  // held, so that its end does not stop the window while the page loads
  ASSERT_EQ(LoadedPath(), video);
  for (const int id : {IDC_MAP, IDC_LARGE_MAP}) EXPECT_TRUE(Window().Control(id)->isEnabled()) << id;
  Window().OnCommand(IDC_MAP);
  ASSERT_NE(Map(), nullptr);
  EXPECT_TRUE(WaitUntil([&] { return PageState().value(QStringLiteral("trackPoints")).toInt() == 3; }));
}

// A recording without GPS takes the track of a GPX attached to it (kept in the viewer's own settings) at
// once, from its first point, and gives it up when detached.
TEST_F(WindowViewsTest, AnAttachedGpxGivesARecordingWithoutGpsItsTrackUntilDetached) {
  const TempDir config("window-gpx");
  ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
  const CardRecording plain{"views-plain.MP4", "--streams 2 --seconds 2 --no-telemetry"};
  const std::string gpx = config / "phone.gpx";
  std::ofstream(gpx) << R"(<gpx version="1.1"><trk><trkseg>
    <trkpt lat="37.5" lon="127.0"><time>2024-06-12T10:15:00Z</time></trkpt>
    <trkpt lat="37.5001" lon="127.0001"><time>2024-06-12T10:15:01Z</time></trkpt>
    </trkseg></trk></gpx>)";
  ASSERT_TRUE(CSettingsStore(CSettingsStore::DefaultPath())
                  .WriteText("Viewer\\Attached GPX", PathOf(plain).toStdString(), "0 " + gpx));
  PlayNextRecording(plain);
  Window().PlayPause();
  EXPECT_EQ(std::tuple(Window().Telemetry().layout, Window().Telemetry().gps.size()), std::tuple("GPX track", 2u));
  SelectRows({1});
  Window().OnCommand(ID_DETACH_GPX);
  EXPECT_TRUE(Window().Telemetry().gps.empty());
  EXPECT_FALSE(Window().Control(IDC_MAP)->isEnabled());
  ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace vx::test
