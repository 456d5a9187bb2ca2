// The map and the acceleration graph inside the real main window, with screenshots of each.
#include <gtest/gtest.h>

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

#include "CFakeDriveList.h"
#include "TestMedia.h"
#include "core/player/ControlIds.h"
#include "player/CQuelmarDlg.h"
#include "player/CRecordingCatalogue.h"
#include "player/QtRect.h"
#include "views/CMapView.h"

namespace vx::test {
namespace {

template <typename Condition>
bool WaitUntil(Condition condition) {
  for (int waited = 0; waited < 200 && !condition(); ++waited) QTest::qWait(50);  // a hang guard only
  return condition();
}

class WindowViewsTest : public ::testing::Test {
 protected:
  WindowViewsTest()
      : m_window(m_drives, {VX_BIN_DIR "/Setting.ini", [](int) { return std::optional<std::filesystem::path>(); }}) {
    m_window.OnInitDialog([](const QString&) {});
    m_window.show();
    m_window.Catalogue().AddPaths(
        {QString::fromStdString(CardFile("views-event.MP4", "--streams 2 --seconds 4 --event"))});
    m_window.PlayPause();
    m_window.PlayPause();  // paused at a known place: the pictures of the screenshots stay put
    m_window.Engine().SeekMs(2500);
    m_window.UpdateTimeline();
  }

  CMapView* Map() { return qobject_cast<CMapView*>(m_window.Control(IDC_MAP_VIEW)); }

  // The map page's own account of where its marker stands.
  QJsonObject PageState() {
    QString text;
    Map()->CallScript(QStringLiteral("javascript:MapViewState()"), [&](const QString& result) { text = result; });
    WaitUntil([&] { return !text.isEmpty(); });
    return QJsonDocument::fromJson(text.toUtf8()).object();
  }

  void Screenshot(QWidget& widget, const char* name) {
    EXPECT_TRUE(widget.grab().save(QString(VX_BIN_DIR "/../") + name)) << name;
  }

  CFakeDriveList m_drives;
  CQuelmarDlg m_window;
};

TEST_F(WindowViewsTest, TheMapShowsSmallThenLargeBesideTheVideoAndFollowsTheTimeline) {
  ASSERT_EQ(m_window.Slots(), (ViewSlots{ViewSlot::Large, ViewSlot::Small, ViewSlot::Hidden}));
  m_window.OnCommand(IDC_MAP);
  ASSERT_NE(Map(), nullptr);
  EXPECT_EQ(m_window.Slots().map, ViewSlot::Small);
  EXPECT_EQ(Map()->geometry(), QRect(678, 50, 320, 240));
  ASSERT_TRUE(WaitUntil([&] { return PageState().contains(QStringLiteral("marker")); }));
  m_window.UpdateTimeline();
  ASSERT_TRUE(WaitUntil([&] { return !PageState().value(QStringLiteral("marker")).isNull(); }));
  Screenshot(m_window, "window-map-small.png");

  m_window.OnCommand(IDC_LARGE_MAP);
  EXPECT_EQ(m_window.Slots().map, ViewSlot::Large);
  EXPECT_EQ(Map()->geometry(), QRect(23, 50, 640, 360));
  EXPECT_TRUE(m_window.FrontView().isVisible() || m_window.RearView().isVisible()) << "the video stays in view";
  QTest::qWait(300);
  Screenshot(m_window, "window-map-large.png");
}

TEST_F(WindowViewsTest, TheGraphWindowOpensOnItsButtonAndClosesByItsCloseBox) {
  m_window.OnCommand(IDC_GSENSOR);
  QWidget* graph = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets())
    if (top != &m_window && top->isVisible() && top->inherits("vx::CGSensorDlg")) graph = top;
  ASSERT_NE(graph, nullptr);
  Screenshot(*graph, "window-graph.png");
  graph->close();
  m_window.OnCommand(IDC_GSENSOR);
  EXPECT_TRUE(graph->isVisible()) << "one press after the close box shows the window again";
}

// The large map of a two-stream recording stays while a one-stream recording opens; full screen, which has no
// map, then shows the front picture in its place.
TEST_F(WindowViewsTest, FullScreenAfterTheLargeMapAndAOneStreamRecordingShowsThePicture) {
  m_window.OnCommand(IDC_LARGE_MAP);
  ASSERT_EQ(m_window.Slots().map, ViewSlot::Large);
  m_window.Catalogue().AddPaths({QString::fromStdString(CardFile("views-one.AVI", "--streams 1 --seconds 2"))});
  m_window.PlayNext();
  ASSERT_EQ(m_window.Engine().Recording()->VideoStreamCount(), 1);
  m_window.ToggleFullScreen();
  ASSERT_TRUE(WaitUntil([&] { return m_window.isFullScreen(); }));
  EXPECT_TRUE(m_window.FrontView().isVisible());
  EXPECT_EQ(m_window.FrontView().geometry(), ToQRect(FullScreenViewRect(m_window.width(), m_window.height())));
}

// A recording without GPS has no map to show: the large map of the recording before gives its place back to
// the videos, as the map buttons that could put it away are disabled.
TEST_F(WindowViewsTest, ARecordingWithoutGpsPutsTheMapAway) {
  m_window.OnCommand(IDC_LARGE_MAP);
  ASSERT_EQ(m_window.Slots().map, ViewSlot::Large);
  m_window.Catalogue().AddPaths({QString::fromStdString(CardFile("views-no-gps.MP4", "--no-telemetry --seconds 2"))});
  m_window.PlayNext();
  EXPECT_EQ(m_window.Slots(), (ViewSlots{ViewSlot::Large, ViewSlot::Small, ViewSlot::Hidden}));
  EXPECT_EQ(m_window.FrontView().geometry(), ToQRect(kLargeSlot));
}

}  // namespace
}  // namespace vx::test
