// The map beside a playing recording, arranged by the map commands in a stand-in for the main window, saved
// as build/map-small-screenshot.png and build/map-large-screenshot.png (no network: the offline grid shows).
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include "TestMedia.h"
#include "WaitUntil.h"
#include "core/player/ViewSlots.h"
#include "core/telemetry/TelemetryDrain.h"
#include "engine/CNrvVideoView.h"
#include "engine/CPlaybackEngine.h"
#include "views/CMapView.h"
#include "widgets/SkinBitmaps.h"
#include "widgets/SkinIds.h"

namespace vx {
namespace {

using test::WaitUntil;

QRect ToRect(const LayoutRect& r) { return {r.x, r.y, r.width, r.height}; }

class MapBesideVideo : public ::testing::Test {
 protected:
  MapBesideVideo() : m_front(&m_window), m_rear(&m_window), m_map(&m_window) {
    m_window.setPixmap(QPixmap::fromImage(LoadSkinImage(IDB_BACKGROUND)));
    m_window.setFixedSize(1020, 594);
    m_engine.AttachWindows(&m_front, &m_rear);
    m_window.show();
  }

  // What the main window does after a slot change.
  void Arrange() {
    const ViewArrangement a = ArrangeNormalViews(m_slots, m_engine.Recording()->VideoStreamCount());
    m_front.setVisible(a.front.has_value());
    if (a.front) m_front.setGeometry(ToRect(*a.front));
    m_rear.setVisible(a.rear.has_value());
    if (a.rear) m_rear.setGeometry(ToRect(*a.rear));
    m_map.setGeometry(ToRect(a.map));
  }

  bool MarkerDrawn() {
    QString text;
    m_map.CallScript(QStringLiteral("javascript:MapViewState()"), [&](const QString& result) { text = result; });
    if (!WaitUntil([&] { return !text.isEmpty(); })) return false;
    const QJsonObject state = QJsonDocument::fromJson(text.toUtf8()).object();
    return !state.value(QStringLiteral("marker")).isNull() && state.value(QStringLiteral("trackLines")).toInt() > 0 &&
           state.value(QStringLiteral("offline")).toBool();
  }

  // Loads the page and sends the position as the timeline tick does, until the page shows it.
  void ShowPageAt(std::uint32_t positionMs) {
    QSignalSpy loaded(&m_map, &CExplorerMapViewWnd::pageLoaded);
    m_map.LoadPage(1);
    Arrange();
    ASSERT_TRUE(WaitUntil([&] { return !loaded.isEmpty(); }));
    ASSERT_TRUE(WaitUntil([&] {
      m_map.UpdateMapPosition(positionMs, m_data);
      return MarkerDrawn();
    }));
  }

  void Shoot(const char* name) {
    // Let the page paint what it decided.
    QDeadlineTimer settle(1500);
    while (!settle.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(m_window.grab().save(QStringLiteral(VX_BIN_DIR "/../") + QString::fromLatin1(name)));
  }

  QLabel m_window;
  CNrvVideoView m_front;
  CNrvVideoView m_rear;
  CMapView m_map;
  CPlaybackEngine m_engine;
  CTextData m_data;
  ViewSlots m_slots;
};

TEST_F(MapBesideVideo, SmallAndLargeMapWithTheTrack) {
  ASSERT_EQ(m_engine.Open(test::CardFile("MAPSHOT.MP4", "--streams 2 --seconds 20")), 1);
  DrainTelemetry(m_engine.Recording()->TelemetrySource(), m_data);
  ASSERT_GT(m_data.m_arrGps.GetSize(), 10u);
  m_map.SetRecording(m_data, m_engine.GetDurationMs());
  m_slots = SlotsForOpenedRecording(m_slots, 2);
  Arrange();
  ASSERT_EQ(m_engine.SeekMs(12000), 1);

  auto command = MapCommand(m_slots, 2, true);
  ASSERT_TRUE(command && command->loadPage);
  m_slots = command->viewSlots;
  ShowPageAt(12000);
  EXPECT_EQ(m_map.geometry(), ToRect(kSmallSlot));
  Shoot("map-small-screenshot.png");

  command = LargeMapCommand(m_slots, 2, true);
  ASSERT_TRUE(command);
  m_slots = command->viewSlots;
  EXPECT_EQ(m_slots, (ViewSlots{ViewSlot::Small, ViewSlot::Hidden, ViewSlot::Large}));
  ShowPageAt(12000);
  EXPECT_EQ(m_map.geometry(), ToRect(kLargeSlot));
  Shoot("map-large-screenshot.png");
}

}  // namespace
}  // namespace vx
