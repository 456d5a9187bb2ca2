// A trip of the list's trips view played as one drive: three card-maker recordings one after another with
// every picture shown across the joins, the trip's time on the slider and the labels, and seeks that cross
// a join; recordings of one stream pair in one file and front and rear pairs in two files alike.
#include <QAbstractItemModel>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>

#include "MainWindowFixture.h"
#include "TestMedia.h"
#include "ToolRunner.h"
#include "core/player/ControlIds.h"
#include "core/telemetry/RecordingStart.h"
#include "core/widgets/ScrollCodes.h"
#include "player/CRecordingCatalogue.h"
#include "widgets/CTkSlider.h"

namespace vx::test {
namespace {

constexpr std::int64_t kRecordingMs = 3000;
constexpr double kFrameMs = 1000.0 / 30.0;  // the card maker's frame rate
constexpr double kBlack = 16.0;             // mean of R, G and B below this is a black picture

struct ShownPicture {
  double ptsMs;
  double brightness;
  std::int64_t tripPositionMs;  // what the window said then
  bool inTrip;                  // the trip was still playing then
};

// Every picture the front view is given, in order: the view takes each one in a call queued to it, so the
// picture it holds when the next call arrives is the one the call before gave it. Also the base time of
// each recording's pipeline: where its running time starts on the shared clock.
class CShownPictures : public QObject {
 public:
  CShownPictures(CQuelmarDlg& window) : m_window(window) { window.FrontView().installEventFilter(this); }
  const std::vector<ShownPicture>& Pictures() {
    Take();
    return m_pictures;
  }
  const std::vector<GstClockTime>& BaseTimes() const { return m_baseTimes; }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MetaCall) Take();
    return false;
  }

 private:
  void Take() {
    const CRecordingGraph* recording = m_window.Engine().Recording();
    if (recording && recording->State() == EngineState::Running && recording->FilePath() != m_strPlaying) {
      m_strPlaying = recording->FilePath();
      m_baseTimes.push_back(gst_element_get_base_time(recording->Pipeline()));
    }
    const CVideoFrame& frame = m_window.FrontView().Frame();
    if (frame.IsNull() || frame.Sample() == m_pLast) return;
    m_pLast = frame.Sample();
    const GstBuffer* buffer = gst_sample_get_buffer(frame.Sample());
    const QImage small = CFrameConverter().Convert(frame, QSize(16, 9));
    double sum = 0;
    for (int y = 0; y < small.height(); ++y)
      for (int x = 0; x < small.width(); ++x) sum += qGray(small.pixel(x, y));
    m_pictures.push_back({static_cast<double>(GST_BUFFER_PTS(buffer)) / GST_MSECOND, sum / (16 * 9),
                          m_window.PlayingPositionMs(), m_window.TripFile().has_value()});
  }

  CQuelmarDlg& m_window;
  const GstSample* m_pLast = nullptr;
  std::vector<ShownPicture> m_pictures;
  std::string m_strPlaying;
  std::vector<GstClockTime> m_baseTimes;
};

// The card maker's card, whose first trip is two drive recordings and the event recording that follows
// them, 3 s each, two streams in a file.
std::string MorningCard(const TempDir&) { return CardFolder("trip-playback-card", "--count 2 --seconds 3"); }

// Three front and rear pairs in two files each (X_NF.MP4 and X_NR.MP4), 3 s each, one after another; the
// first was made without GPS.
std::string PairsCard(const TempDir& dir) {
  const std::filesystem::path folder(dir / "pairs");
  std::filesystem::create_directories(folder);
  for (const char* time : {"090000", "090003", "090006"}) {
    const std::string front = (folder / (std::string("20261206_") + time + "_NF.MP4")).string();
    const std::string telemetry = std::string(time) == "090000" ? " --no-telemetry" : "";
    const ToolOutput made =
        RunTool(Tool("vx880-mkcard") + " --file " + Quote(front) + " --split --streams 2 --seconds 3" + telemetry);
    EXPECT_EQ(made.status, 0) << made.out;
  }
  return folder.string();
}

std::string IsoUtcText(std::int64_t utcSeconds) {
  const std::time_t time = utcSeconds;
  std::tm utc{};
  gmtime_r(&time, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

struct TripCard {
  const char* name;
  std::string (*make)(const TempDir& dir);
};

class TripPlaybackTest : public MainWindowTest, public ::testing::WithParamInterface<TripCard> {
 protected:
  // Lists the card in the trips view and double-clicks its first trip, which holds three recordings.
  void PlayFirstTrip() {
    const std::string card = GetParam().make(m_dir);
    ::setenv("XDG_CACHE_HOME", (m_dir / "cache").c_str(), 1);
    CRecordingCatalogue& catalogue = Window().Catalogue();
    QSignalSpy searched(&catalogue, &CRecordingCatalogue::searchFinished);
    catalogue.BeginSearch(QString::fromStdString(card));
    ASSERT_TRUE(WaitUntil([&] { return !searched.isEmpty(); }));
    Type(Qt::Key_F6);
    QAbstractItemModel* trips = catalogue.List()->model();
    ASSERT_TRUE(WaitUntil([&] { return trips->hasChildren(trips->index(0, 0)); }));
    ::unsetenv("XDG_CACHE_HOME");
    ASSERT_EQ(trips->rowCount(trips->index(0, 0)), 3);
    // A rear file's trip plays its front and rear pairs too: a recording is known by the time in its name.
    for (int r = 0; r < 3; ++r) m_times << trips->index(r, 0, trips->index(0, 0)).data().toString().left(15);
    DoubleClickIndex(trips->index(0, 0));
    // The test's double-click leaves the button down, and the window's timeline waits while it is.
    QTest::mouseRelease(catalogue.List()->viewport(), Qt::LeftButton, {},
                        catalogue.List()->visualRect(trips->index(0, 0)).center());
    ASSERT_TRUE(WaitUntil([&] { return Window().TripFile() == 0u && State() == EngineState::Running; }));
  }
  const TripTimeline& Timeline() const { return *m_pWindow->TripTimeLine(); }
  // Attaches a phone's track of three points, one a second from the playing recording's start.
  void AttachPhoneTrackToPlayingRecording() {
    const std::optional<RecordingStart> start = RecordingStartOf(LoadedPath().toStdString());
    ASSERT_TRUE(start);
    const std::string gpx = m_dir / "phone.gpx";
    std::ofstream out(gpx);
    out << R"(<gpx version="1.1"><trk><trkseg>)";
    for (int s = 0; s < 3; ++s) {
      out << R"(<trkpt lat="37.5" lon=")" << 127.0 + s * 0.0001 << R"("><time>)" << IsoUtcText(start->utcSeconds + s)
          << "</time></trkpt>";
    }
    out << "</trkseg></trk></gpx>";
    out.close();
    ::setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
    EXPECT_EQ(Window().AttachGpx(PlayingRow(), gpx, 0), QString());
    ::unsetenv("XDG_CONFIG_HOME");
  }
  // Whether the trip's track has a fix within each of its recordings.
  std::vector<bool> FixesInEachRecording() const {
    std::vector<bool> has(Timeline().FileCount(), false);
    for (const GpsSample& fix : m_pWindow->Telemetry().gps) has[Timeline().Locate(fix.mediaMs).file] = true;
    return has;
  }
  void SeekTrip(std::int64_t tripMs) { emit Slider(IDC_POSITION_SLIDER).HScroll(TB_THUMBPOSITION, static_cast<int>(tripMs)); }

  TempDir m_dir{"trip-playback"};
  QStringList m_times;  // the time in the names of the trip's recordings, in order
};

// The three recordings are shown in order: within a recording one whole frame after another (the view shows
// the newest picture when the window's thread comes to it, so a busy thread may skip one, never go back), at
// each join a picture of the next recording (not black); each recording's running time starts on the shared
// clock where the one before reached its end, within a frame: that is the join as the sinks play it. The
// trip's position never goes back; the slider and the labels span the whole trip. After the trip the list's
// next row plays by itself.
TEST_P(TripPlaybackTest, ATripPlaysItsRecordingsAsOneAcrossBothJoins) {
  CShownPictures shown(Window());
  PlayFirstTrip();
  const TripTimeline timeline = Timeline();
  ASSERT_EQ(timeline.FileCount(), 3u);
  EXPECT_NEAR(static_cast<double>(timeline.TotalMs()), 3.0 * kRecordingMs, 3 * kFrameMs);
  EXPECT_EQ(Slider(IDC_POSITION_SLIDER).GetRangeMax(), timeline.TotalMs());
  EXPECT_EQ(Text(IDC_TOTAL_TIME), "00:00:09");
  // The map and the graph are given the whole trip's track.
  ASSERT_FALSE(Window().Telemetry().gps.empty());
  EXPECT_GE(Window().Telemetry().gps.back().mediaMs, timeline.StartMs(2));

  ASSERT_TRUE(WaitUntil([&] { return Window().TripFile() == 2u; }));
  EXPECT_TRUE(LoadedPath().contains("/" + m_times[2]));
  ASSERT_TRUE(WaitUntil([&] { return !Window().TripFile(); }));
  const std::vector<ShownPicture> pictures = shown.Pictures();
  Click(IDC_STOP);
  ASSERT_FALSE(pictures.empty());
  EXPECT_EQ(pictures.front().ptsMs, 0.0);
  int joins = 0;
  for (std::size_t i = 1; i < pictures.size() && pictures[i].inTrip; ++i) {
    const ShownPicture& before = pictures[i - 1];
    const ShownPicture& picture = pictures[i];
    EXPECT_GE(picture.tripPositionMs, before.tripPositionMs) << "picture " << i;
    if (i == 1 && picture.ptsMs == before.ptsMs) continue;  // the first picture, cued, then played
    const double frames = picture.ptsMs / kFrameMs;
    EXPECT_NEAR(frames, std::round(frames), 0.05) << "picture " << i << " falls between frames";
    if (picture.ptsMs > before.ptsMs) continue;
    ++joins;
    EXPECT_GT(picture.brightness, kBlack) << "join " << joins;
  }
  EXPECT_EQ(joins, 2);
  const std::vector<GstClockTime>& baseTimes = shown.BaseTimes();
  ASSERT_GE(baseTimes.size(), 3u);
  for (std::size_t file = 1; file < 3; ++file) {
    const double joinMs = static_cast<double>(GST_CLOCK_DIFF(baseTimes[file - 1], baseTimes[file])) / GST_MSECOND;
    EXPECT_GE(joinMs, static_cast<double>(timeline.DurationMs(file - 1)) - 1.0) << "join " << file;
    EXPECT_LE(joinMs, static_cast<double>(timeline.DurationMs(file - 1)) + kFrameMs) << "join " << file;
  }
}

// A seek to a moment in another recording opens that recording at that moment, paused or playing as the
// trip was; the trip then plays on into the recording after it. Next and previous, the buttons and their
// keys, move along the trip's recordings from their starts, and next past its last one ends as after the
// list's last row. A GPX attached while the trip plays stands in for the open recording's part of the trip's
// track where it has no telemetry of its own; the other recordings keep their parts.
TEST_P(TripPlaybackTest, ASeekAcrossAJoinLandsInTheRightRecordingAtTheRightMoment) {
  PlayFirstTrip();
  Click(IDC_PLAY);  // pauses
  ASSERT_EQ(State(), EngineState::Paused);
  AttachPhoneTrackToPlayingRecording();
  EXPECT_EQ(FixesInEachRecording(), std::vector<bool>(3, true));
  struct Case {
    std::size_t file;
    std::int64_t fileMs;
    bool playing;
  };
  for (const Case c : {Case{2, 700, false}, Case{1, 2000, false}, Case{0, 1500, true}}) {
    if (c.playing) Click(IDC_PLAY);
    SeekTrip(Timeline().StartMs(c.file) + c.fileMs);
    EXPECT_EQ(Window().TripFile(), c.file);
    EXPECT_TRUE(LoadedPath().contains("/" + m_times[static_cast<int>(c.file)])) << LoadedPath().toStdString();
    EXPECT_EQ(State(), c.playing ? EngineState::Running : EngineState::Paused);
    if (!c.playing) {
      EXPECT_EQ(PositionMs(), c.fileMs);
      EXPECT_EQ(Window().PlayingPositionMs(), Timeline().StartMs(c.file) + c.fileMs);
    }
  }
  EXPECT_GE(PositionMs(), 1500);
  ASSERT_TRUE(WaitUntil([&] { return Window().TripFile() == 1u; })) << "plays on into the next recording";
  EXPECT_TRUE(LoadedPath().contains("/" + m_times[1]));

  // From the middle of a paused recording, each step plays its recording from the start.
  Click(IDC_PLAY);
  SeekTrip(Timeline().StartMs(1) + 2000);
  const std::function<void()> next = [&] { Click(IDC_NEXT); };
  const std::function<void()> previous = [] { Type(Qt::Key_PageUp); };
  for (const auto& [step, file] : {std::pair{next, 2}, {previous, 1}}) {
    step();
    ASSERT_EQ(Window().TripFile(), static_cast<std::size_t>(file));
    EXPECT_TRUE(LoadedPath().contains("/" + m_times[file])) << LoadedPath().toStdString();
    EXPECT_EQ(State(), EngineState::Running);
    EXPECT_LT(PositionMs(), 2000) << "not where recording 1 stood";
  }
  Type(Qt::Key_PageDown);
  ASSERT_EQ(Window().TripFile(), 2u);
  Click(IDC_NEXT);
  EXPECT_FALSE(Window().TripFile());
  ExpectIdle();
}

INSTANTIATE_TEST_SUITE_P(Cards, TripPlaybackTest,
                         ::testing::Values(TripCard{"TwoStreamsInAFile", MorningCard}, TripCard{"PairsInTwoFiles", PairsCard}),
                         [](const ::testing::TestParamInfo<TripCard>& card) { return std::string(card.param.name); });

}  // namespace
}  // namespace vx::test
