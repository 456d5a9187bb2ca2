// Tests of the map view in a real web engine without a network: every page loads and moves its marker through
// the call texts, the track is drawn and a click on it seeks, the page's seek is checked, and the page shows its
// offline grid when no tiles come.
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include "DriveTelemetry.h"
#include "WaitUntil.h"
#include "views/CMapBridge.h"
#include "views/CMapView.h"

namespace vx {
namespace {

using test::WaitUntil;

CGPSData Fix(std::uint32_t time, double lat, double lon, double speed = 50.0, double course = 90.0) {
  CGPSData fix;
  fix.time = time;
  fix.valid = 1;
  fix.latitude = lat;
  fix.longitude = lon;
  fix.speed = speed;
  fix.course = course;
  return fix;
}

class MapViewTest : public ::testing::Test {
 protected:
  MapViewTest() {
    m_view.resize(320, 240);
    m_view.show();
  }

  void Load(int languageIndex) {
    QSignalSpy loaded(&m_view, &CExplorerMapViewWnd::pageLoaded);
    m_view.LoadPage(languageIndex);
    ASSERT_TRUE(WaitUntil([&] { return !loaded.isEmpty(); }));
    ASSERT_TRUE(loaded.first().first().toBool());
  }

  // The page's own account of what it shows.
  QJsonObject State() {
    QString text;
    bool answered = false;
    m_view.CallScript(QStringLiteral("javascript:MapViewState()"), [&](const QString& result) {
      text = result;
      answered = true;
    });
    EXPECT_TRUE(WaitUntil([&] { return answered; }));
    return QJsonDocument::fromJson(text.toUtf8()).object();
  }

  bool MarkerAt(double lon, double lat) {
    const QJsonArray marker = State().value(QStringLiteral("marker")).toArray();
    return marker.size() == 2 && std::abs(marker[0].toDouble() - lon) < 1e-6 &&
           std::abs(marker[1].toDouble() - lat) < 1e-6;
  }

  CMapView m_view;
  CTextData m_data;
};

TEST_F(MapViewTest, EveryPageMovesItsMarkerToTheFixOfThePosition) {
  m_data.m_arrGps.Add(Fix(1000, 3730.5, 12700.0));
  m_data.m_arrGps.Add(Fix(2000, -3330.0, -7030.0, 88.0, 270.0));
  const char* pages[] = {"MapView.htm", "MapView_En.htm", "MapView_Por.htm", "MapView_Ja.htm", "MapView_Tw.htm"};
  for (int language = 0; language < 5; ++language) {
    Load(language);
    EXPECT_EQ(m_view.Page()->url().fileName(), pages[language]);
    EXPECT_TRUE(State().value(QStringLiteral("marker")).isNull()) << "no marker before the first position";
    m_view.UpdateMapPosition(1000, m_data);
    EXPECT_TRUE(WaitUntil([&] { return MarkerAt(127.0, 37.508333); })) << pages[language];
    m_view.UpdateMapPosition(1001, m_data);
    EXPECT_TRUE(WaitUntil([&] { return MarkerAt(-70.5, -33.5); })) << pages[language];
    const QJsonObject state = State();
    EXPECT_EQ(state.value(QStringLiteral("speed")).toDouble(), 88.0);
    EXPECT_EQ(state.value(QStringLiteral("course")).toDouble(), 270.0);
  }
}

TEST_F(MapViewTest, CallScriptAnswersOnlyStringResults) {
  Load(1);
  QStringList answers;
  const auto keep = [&](const QString& result) { answers << result; };
  m_view.CallScript(QStringLiteral("javascript:encodeURIComponent('a')"), keep);
  m_view.CallScript(QStringLiteral("javascript:parseFloat('1.5')"), keep);
  m_view.CallScript(QStringLiteral("javascript:NoSuchFunction('1')"), keep);
  m_view.CallScript(QStringLiteral("javascript:MapViewState"), keep);
  ASSERT_TRUE(WaitUntil([&] { return answers.size() == 4; }));
  EXPECT_EQ(answers, (QStringList{"", "a", "", ""}) ) << "the empty name answers at once, the others in order";
}

TEST_F(MapViewTest, TrackIsDrawnOnEveryLoadAndAClickOnItSeeks) {
  mkcard::DriveScript script;
  script.start = {2026, 12, 6, 10, 15, 0};
  script.seconds = 60;
  test::ParseDrive(script, m_data);
  ASSERT_GT(m_data.m_arrGps.GetSize(), 50u);
  m_view.SetRecording(m_data, 60000);
  Load(1);
  ASSERT_TRUE(WaitUntil([&] { return State().value(QStringLiteral("trackLines")).toInt() > 0; }));
  EXPECT_EQ(State().value(QStringLiteral("trackPoints")).toInt(), static_cast<int>(m_data.m_arrGps.GetSize()));
  Load(0);  // a reload wipes the page: the track comes again
  ASSERT_TRUE(WaitUntil([&] { return State().value(QStringLiteral("trackLines")).toInt() > 0; }));

  // The marker centres the map on a fix; a click in the middle of the view lands on the track there.
  const CGPSData& fix = m_data.m_arrGps[m_data.m_arrGps.GetSize() / 2];
  m_view.UpdateMapPosition(fix.time, m_data);
  ASSERT_TRUE(WaitUntil([&] { return !State().value(QStringLiteral("marker")).isNull(); }));
  QSignalSpy seeks(&m_view, &CMapView::seekRequested);
  QWidget* surface = m_view.findChild<QWebEngineView*>()->focusProxy();
  ASSERT_NE(surface, nullptr);
  QTest::mouseClick(surface, Qt::LeftButton, {}, surface->rect().center());
  ASSERT_TRUE(WaitUntil([&] { return !seeks.isEmpty(); }));
  EXPECT_EQ(seeks.first().first().toLongLong(), static_cast<qint64>(fix.time));
}

TEST_F(MapViewTest, WithoutTilesThePageShowsItsOfflineGrid) {
  Load(1);
  m_data.m_arrGps.Add(Fix(0, 3730.5, 12700.0));
  m_view.UpdateMapPosition(0, m_data);
  ASSERT_TRUE(WaitUntil([&] { return State().value(QStringLiteral("offline")).toBool(); }));
  EXPECT_EQ(State().value(QStringLiteral("tilesLoaded")).toInt(), 0);
  // Painted a moment later than the page decides: wait for the grid's colours in the picture.
  int background = 0;
  int lines = 0;
  ASSERT_TRUE(WaitUntil([&] {
    const QImage image = m_view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    background = lines = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        background += image.pixel(x, y) == qRgb(0xE9, 0xE5, 0xDC);
        lines += image.pixel(x, y) == qRgb(0xB9, 0xB1, 0xA3);
      }
    }
    return background > image.width() * image.height() / 2 && lines > 100;
  })) << background << " background and " << lines << " grid pixels";
  ASSERT_TRUE(m_view.grab().save(QStringLiteral(VX_BIN_DIR "/../map-offline-screenshot.png")));
}

TEST(MapPagePath, LanguageIndexOutsideTheTableGetsTheEnglishPage) {
  EXPECT_TRUE(CMapView::PagePath(4).endsWith(QStringLiteral("/MapView_Tw.htm")));
  EXPECT_TRUE(QFileInfo::exists(CMapView::PagePath(4)));
  EXPECT_TRUE(CMapView::PagePath(5).endsWith(QStringLiteral("/MapView_En.htm")));
  EXPECT_TRUE(CMapView::PagePath(-1).endsWith(QStringLiteral("/MapView_En.htm")));
}

TEST(MapBridge, SeeksOnlyToANumberWithinTheRecording) {
  CMapBridge bridge;
  QSignalSpy seeks(&bridge, &CMapBridge::seekRequested);
  bridge.seek(2500.0);
  EXPECT_TRUE(seeks.isEmpty()) << "nothing open";
  bridge.SetDurationMs(60000);
  bridge.seek(QVariant(QStringLiteral("2500")));
  bridge.seek(QVariant());
  bridge.seek(60000.5);
  bridge.seek(-1.0);
  EXPECT_TRUE(seeks.isEmpty());
  bridge.seek(2500.7);
  bridge.seek(QVariant(qlonglong(60000)));
  ASSERT_EQ(seeks.size(), 2);
  EXPECT_EQ(seeks[0].first().toLongLong(), 2500);
  EXPECT_EQ(seeks[1].first().toLongLong(), 60000);
}

}  // namespace
}  // namespace vx
