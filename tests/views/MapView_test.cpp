// Tests of the map view in a real web engine without a network: pages, marker, track, events, clicks and seeks;
// no other page ever loads in the view, and the tile setting holds (an offline grid when no tiles come).
#include <QDesktopServices>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <QRegularExpression>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <span>

#include "WaitUntil.h"
#include "app/CSettingsStore.h"
#include "core/views/MapPosition.h"
#include "views/CMapBridge.h"
#include "views/CMapPage.h"
#include "views/CMapView.h"

namespace vx {
namespace {

using test::WaitUntil;

// The fixes below lie at 37.508333 N 127 E and 33.5 S 70.5 W.
constexpr double kNorth = 37.5 + 0.5 / 60;

GpsSample Fix(std::uint32_t time, double lat, double lon, double speed = 50.0, double heading = 90.0) {
  return {time, std::nullopt, true, lat, lon, std::nullopt, speed, heading};
}

void Load(CMapView& view, int languageIndex) {
  QSignalSpy loaded(&view, &CExplorerMapViewWnd::pageLoaded);
  view.LoadPage(languageIndex);
  ASSERT_TRUE(WaitUntil([&] { return !loaded.isEmpty(); }));
  ASSERT_TRUE(loaded.first().first().toBool());
}

// The page's own account of what it shows.
QJsonObject State(CMapView& view) {
  QString text;
  bool answered = false;
  view.CallScript(QStringLiteral("javascript:MapViewState()"), [&](const QString& result) {
    text = result;
    answered = true;
  });
  EXPECT_TRUE(WaitUntil([&] { return answered; }));
  return QJsonDocument::fromJson(text.toUtf8()).object();
}

bool MarkerAt(CMapView& view, double lon, double lat) {
  const QJsonArray marker = State(view).value(QStringLiteral("marker")).toArray();
  return marker.size() == 2 && std::abs(marker[0].toDouble() - lon) < 1e-6 &&
         std::abs(marker[1].toDouble() - lat) < 1e-6;
}

class MapViewTest : public ::testing::Test {
 protected:
  MapViewTest() {
    m_view.resize(320, 240);
    m_view.show();
  }

  CMapView m_view;
  TelemetryTrack m_data;
};

TEST_F(MapViewTest, EveryPageMovesItsMarkerToTheFixOfThePosition) {
  m_data.gps = {Fix(1000, kNorth, 127.0), Fix(2000, -33.5, -70.5, 88.0, 270.0)};
  for (int language = 0; language < 5; ++language) {
    Load(m_view, language);
    EXPECT_EQ(m_view.Page()->url().fileName().toStdString(), MapPageFile(language));
    EXPECT_TRUE(State(m_view).value(QStringLiteral("marker")).isNull()) << "no marker before a position";
    m_view.UpdateMapPosition(1000, m_data);
    EXPECT_TRUE(WaitUntil([&] { return MarkerAt(m_view, 127.0, 37.508333); }));
    m_view.UpdateMapPosition(1001, m_data);
    EXPECT_TRUE(WaitUntil([&] { return MarkerAt(m_view, -70.5, -33.5); }));
    const QJsonObject state = State(m_view);
    EXPECT_EQ(std::pair(state.value("speed").toDouble(), state.value("course").toDouble()),
              std::pair(88.0, 270.0));
  }
}

// The track and the events with a place are drawn again on every load, and a new recording replaces them.
TEST_F(MapViewTest, TrackAndEventsAreDrawnOnEveryLoadScriptsAnswerAndAClickOnTheTrackSeeks) {
  using Kind = DetectedEvent::Kind;
  for (std::uint32_t second = 0; second < 60; ++second)
    m_data.gps.push_back(Fix(second * 1000, 37.5 + second * 0.01 / 60, 127.0 + second * 0.01 / 60));
  const std::vector<DetectedEvent> events = {{Kind::HardBraking, 1000, 0.6, kNorth, 127.0},
                                             {Kind::Impact, 3000, 2.0, std::nullopt, std::nullopt},
                                             {Kind::SharpTurn, 5000, 0.5, kNorth, 127.001}};
  const auto drawn = [&](int eventMarks) {
    const QJsonObject state = State(m_view);
    return state.value("trackLines").toInt() > 0 && state.value("eventMarks").toInt() == eventMarks;
  };
  m_view.SetRecording(m_data, 60000, events);
  Load(m_view, 1);
  ASSERT_TRUE(WaitUntil([&] { return drawn(2); }));
  EXPECT_EQ(State(m_view).value(QStringLiteral("trackPoints")).toInt(), 60);
  Load(m_view, 0);  // a reload wipes the page
  ASSERT_TRUE(WaitUntil([&] { return drawn(2); }));
  m_view.SetRecording(m_data, 60000, std::span(events).first(1));
  ASSERT_TRUE(WaitUntil([&] { return drawn(1); }));
  // Script calls answer only string results, in order; a text naming no function answers at once.
  QStringList answers;
  const auto keep = [&](const QString& result) { answers << result; };
  for (const char* call : {"encodeURIComponent('a')", "parseFloat('1.5')", "Missing('1')", "MapViewState"})
    m_view.CallScript(QStringLiteral("javascript:") + call, keep);
  ASSERT_TRUE(WaitUntil([&] { return answers.size() == 4; }));
  EXPECT_EQ(answers, (QStringList{"", "a", "", ""}));

  // The marker centres the map on a fix; a click in the middle of the view lands on the track there.
  m_view.UpdateMapPosition(30000, m_data);
  ASSERT_TRUE(WaitUntil([&] { return !State(m_view).value(QStringLiteral("marker")).isNull(); }));
  QSignalSpy seeks(&m_view, &CMapView::seekRequested);
  QWidget* surface = m_view.findChild<QWebEngineView*>()->focusProxy();
  ASSERT_NE(surface, nullptr);
  QTest::mouseClick(surface, Qt::LeftButton, {}, surface->rect().center());
  ASSERT_TRUE(WaitUntil([&] { return !seeks.isEmpty(); }));
  EXPECT_EQ(seeks.first().first().toLongLong(), 30000);
}

// Stands in for the user's browser: QDesktopServices hands it the web links the view lets go.
class CBrowserStandIn : public QObject {
  Q_OBJECT

 public:
  CBrowserStandIn() {
    for (const char* scheme : {"http", "https"}) QDesktopServices::setUrlHandler(scheme, this, "Open");
  }
  ~CBrowserStandIn() override {
    for (const char* scheme : {"http", "https"}) QDesktopServices::unsetUrlHandler(scheme);
  }
  QStringList m_arrOpened;

 public slots:
  void Open(const QUrl& url) { m_arrOpened << url.toString(); }
};

TEST_F(MapViewTest, NoOtherPageLoadsAndWebLinksGoToTheBrowser) {
  CBrowserStandIn browser;
  Load(m_view, 1);
  const QUrl page = m_view.Page()->url();
  m_data.gps = {Fix(1000, kNorth, 127.0), Fix(2000, -33.5, -70.5)};
  const QString copyright = QStringLiteral("https://www.openstreetmap.org/copyright");
  const QString otherFile =
      QUrl::fromLocalFile(QFileInfo(CMapPage::PagePath(1)).dir().filePath("MapView.js")).toString();
  const std::pair<QString, QStringList> cases[] = {
      {"window.open('https://example.org/new')", {"https://example.org/new"}},
      {"location.href = '" + otherFile + "'", {}},  // another file of the data folder
      {"location.href = 'https://example.org/page'", {"https://example.org/page"}},
  };
  for (const auto& [script, toBrowser] : cases) {
    SCOPED_TRACE(script.toStdString());
    browser.m_arrOpened.clear();
    m_view.UpdateMapPosition(1000, m_data);
    ASSERT_TRUE(WaitUntil([&] { return MarkerAt(m_view, 127.0, 37.508333); }));
    m_view.Page()->runJavaScript(script);
    // The attribution's link follows each case: once the browser has it, the case was decided before it.
    m_view.Page()->runJavaScript(
        QStringLiteral("document.querySelector('.leaflet-control-attribution a[href*=openstreetmap]').click()"));
    EXPECT_TRUE(WaitUntil([&] { return browser.m_arrOpened.contains(copyright); }));
    EXPECT_EQ(browser.m_arrOpened, toBrowser + QStringList{copyright});
    EXPECT_EQ(m_view.Page()->url().toString().toStdString(), page.toString().toStdString());
    // Still our document, and it still gets the calls.
    m_view.UpdateMapPosition(2000, m_data);
    EXPECT_TRUE(WaitUntil([&] { return MarkerAt(m_view, -70.5, -33.5); }));
  }
}

// Records every request a page makes to the network.
class CWebRequests : public QWebEngineUrlRequestInterceptor {
 public:
  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    if (info.requestUrl().scheme().startsWith(QLatin1String("http"))) m_arrUrls << info.requestUrl().toString();
  }
  QStringList m_arrUrls;
};

// Without a network the tiles asked for never come: the page says so and shows its offline grid. With tiles
// off it asks for none, shows the same grid and reports no failure.
TEST(MapTiles, TheViewerSettingDecidesWhetherThePageFetchesTilesAndTheViewerNamesItself) {
  const CSettingsStore store(CSettingsStore::DefaultPath());
  const struct {
    std::optional<std::uint32_t> onlineTiles;
    bool fetches;
  } cases[] = {{std::nullopt, true}, {0u, false}, {1u, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.onlineTiles ? std::to_string(*c.onlineTiles) : "absent");
    std::filesystem::remove(store.File());
    if (c.onlineTiles) {
      ASSERT_TRUE(store.WriteDword(CMapView::kSettingsKey, CMapView::kOnlineTiles, *c.onlineTiles));
    }
    CMapView view;
    CWebRequests requests;
    view.Page()->profile()->setUrlRequestInterceptor(&requests);
    view.resize(320, 240);
    view.show();
    Load(view, 1);
    TelemetryTrack data;
    data.gps = {Fix(0, kNorth, 127.0)};
    view.UpdateMapPosition(0, data);
    ASSERT_TRUE(WaitUntil([&] { return MarkerAt(view, 127.0, 37.508333); }));
    // By the time the offline grid covers most of the view (painted a moment after the page decides), the
    // tiles of the view would long have been asked for.
    std::ptrdiff_t background = 0, lines = 0;
    EXPECT_TRUE(WaitUntil([&] {
      const QImage image = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
      const std::span pixels(reinterpret_cast<const QRgb*>(image.constBits()), image.sizeInBytes() / 4);
      background = std::ranges::count(pixels, qRgb(0xE9, 0xE5, 0xDC));
      lines = std::ranges::count(pixels, qRgb(0xB9, 0xB1, 0xA3));
      return background > std::ssize(pixels) / 2 && lines > 100;
    })) << background << " background and " << lines << " grid pixels";
    EXPECT_EQ(requests.m_arrUrls.isEmpty(), !c.fetches) << requests.m_arrUrls.join(' ').toStdString();
    EXPECT_EQ(State(view).value(QStringLiteral("offline")).toBool(), c.fetches);
    QString agent;
    view.Page()->runJavaScript(QStringLiteral("navigator.userAgent"),
                               [&](const QVariant& v) { agent = v.toString(); });
    ASSERT_TRUE(WaitUntil([&] { return !agent.isEmpty(); }));
    EXPECT_TRUE(agent.contains(QRegularExpression("^vx880-viewer/" VX_VERSION " \\(\\+[^ ()]+@[^ ()]+\\)$")))
        << agent.toStdString();
    view.Page()->profile()->setUrlRequestInterceptor(nullptr);
  }
  std::filesystem::remove(store.File());
}

// What the page hands over is a time only as a number; the range is the core rule's.
TEST(MapBridge, SeeksOnlyToANumber) {
  CMapBridge bridge;
  QSignalSpy seeks(&bridge, &CMapBridge::seekRequested);
  bridge.SetDurationMs(60000);
  for (const QVariant& ms : {QVariant("2500"), QVariant(), QVariant(2500.7), QVariant(60000LL)})
    bridge.seek(ms);
  EXPECT_EQ(seeks, (QList<QVariantList>{{qint64(2500)}, {qint64(60000)}}));
}

}  // namespace
}  // namespace vx

#include "MapView_test.moc"
