// Tests of the snapshot command on card-maker recordings, with the dialogs answered by the test: file names,
// decodable pictures of the video's size, the playback state around the dialog, refused overwrites, an
// unwritable folder, a recording closed while the dialog is open, and the place of the frame read back by ExifTool.
#include "player/Snapshot.h"

#include <QFile>
#include <QImageReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "TestMedia.h"
#include "ToolRunner.h"
#include "core/telemetry/TelemetryLayouts.h"
#include "engine/CNrvVideoView.h"
#include "engine/CPlaybackEngine.h"

namespace vx {
namespace {

class SnapshotTest : public ::testing::Test {
 protected:
  SnapshotTest() : m_dir("snapshot") {
    m_front.resize(640, 360);
    m_rear.resize(320, 240);
    m_engine.AttachWindows(&m_front, &m_rear);
    m_prompts.chooseFile = [this](QWidget*, const QString& defaultName) -> std::optional<QString> {
      m_defaultName = defaultName;
      m_stateInDialog = m_engine.Recording() ? m_engine.Recording()->State() : EngineState::Closed;
      if (m_whileChoosing) m_whileChoosing();
      return m_chosen;
    };
    m_prompts.confirmReplace = [this](QWidget*, const QStringList& existing) {
      m_asked = existing;
      return m_replace;
    };
    m_prompts.reportFailures = [this](QWidget*, const QStringList& failures) { m_failures = failures; };
  }

  void Open(int streams) {
    m_path = test::CardFile("SNAP" + std::to_string(streams) + ".MP4",
                            "--streams " + std::to_string(streams) + " --seconds 3");
    ASSERT_EQ(m_engine.Open(m_path), 1);
  }
  CRecordingGraph& Recording() { return *m_engine.Recording(); }
  SnapshotResult Take() {
    return TakeSnapshot(m_engine, nullptr, QString::fromStdString(m_path), m_telemetry, m_zooms, m_prompts);
  }
  QString In(const std::string& name) { return QString::fromStdString(m_dir / name); }
  static QSize JpegSize(const QString& path) {
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), "jpeg") << path.toStdString();
    return reader.read().size();
  }

  test::TempDir m_dir;
  CNrvVideoView m_front;
  CNrvVideoView m_rear;
  CPlaybackEngine m_engine;
  std::string m_path;
  TelemetryTrack m_telemetry;
  SnapshotZooms m_zooms;
  SnapshotPrompts m_prompts;
  std::optional<QString> m_chosen;
  std::function<void()> m_whileChoosing;
  bool m_replace = false;
  QString m_defaultName;
  EngineState m_stateInDialog = EngineState::Closed;
  QStringList m_asked;
  QStringList m_failures;
};

// Files that exist are replaced only after a yes, and only they are asked about.
TEST_F(SnapshotTest, RunningRecordingPausesForTheDialogAndWritesBothPicturesReplacingOnlyAfterAYes) {
  Open(2);
  QImage front;
  QImage rear;
  ASSERT_EQ(m_engine.GrabFrame(0, front), 1);
  ASSERT_EQ(m_engine.GrabFrame(1, rear), 1);
  ASSERT_EQ(Recording().Run(), S_OK);
  EXPECT_EQ(Take().outcome, SnapshotOutcome::Cancelled);
  EXPECT_EQ(Recording().State(), EngineState::Running) << "resumed after a cancel";
  m_chosen = In("snap.jpeg");
  EXPECT_EQ(Take().written, (QStringList{In("snap_front.jpg"), In("snap_rear.jpg")}));
  EXPECT_EQ(m_stateInDialog, EngineState::Paused);
  EXPECT_EQ(Recording().State(), EngineState::Running) << "resumed";
  EXPECT_EQ(JpegSize(In("snap_front.jpg")), front.size());
  EXPECT_EQ(JpegSize(In("snap_rear.jpg")), rear.size());
  EXPECT_NE(front.size(), rear.size());
  EXPECT_TRUE(m_asked.isEmpty()) << "nothing to replace, nothing asked";

  ASSERT_TRUE(QFile::remove(In("snap_front.jpg")));
  std::ofstream(m_dir / "snap_rear.jpg") << "evidence";
  EXPECT_EQ(Take().outcome, SnapshotOutcome::Declined);
  EXPECT_EQ(Recording().State(), EngineState::Running) << "resumed after the dialog";
  EXPECT_EQ(m_asked, QStringList{In("snap_rear.jpg")});
  EXPECT_FALSE(QFile::exists(In("snap_front.jpg"))) << "no writes nothing";
  EXPECT_EQ(std::filesystem::file_size(m_dir / "snap_rear.jpg"), 8u);
  m_replace = true;
  EXPECT_EQ(Take().outcome, SnapshotOutcome::Written);
  EXPECT_FALSE(JpegSize(In("snap_rear.jpg")).isEmpty());
}

// A paused recording stays paused, cancelled or written; one stream writes the front picture only. A stopped
// recording, or none, takes no snapshot and opens no dialog.
TEST_F(SnapshotTest, OneStreamWritesTheFrontOnlyPausedStaysPausedAndStoppedTakesNone) {
  Open(1);
  ASSERT_EQ(Recording().Pause(), S_OK);
  EXPECT_EQ(Take().outcome, SnapshotOutcome::Cancelled);
  EXPECT_EQ(Recording().State(), EngineState::Paused);
  m_chosen = In("snap");
  EXPECT_EQ(Take().written, QStringList{In("snap_front.jpg")});
  EXPECT_FALSE(QFile::exists(In("snap_rear.jpg")));
  EXPECT_EQ(Recording().State(), EngineState::Paused);

  ASSERT_EQ(Recording().Stop(), S_OK);
  m_defaultName.clear();
  m_chosen = In("stopped");
  EXPECT_EQ(Take().outcome, SnapshotOutcome::NotTaken);
  m_engine.Close();
  EXPECT_EQ(Take().outcome, SnapshotOutcome::NotTaken);
  EXPECT_TRUE(m_defaultName.isEmpty()) << "no dialog";
  EXPECT_FALSE(QFile::exists(In("stopped_front.jpg")));
}

TEST_F(SnapshotTest, UnwritableFolderIsReportedAndNothingIsWritten) {
  Open(2);
  ASSERT_EQ(Recording().Run(), S_OK);
  std::ofstream(m_dir / "file") << "not a folder";  // root may write anywhere, but not below a file
  m_chosen = In("file/snap.jpg");
  const SnapshotResult result = Take();
  EXPECT_TRUE(result.outcome == SnapshotOutcome::Failed && result.written.isEmpty());
  ASSERT_EQ(m_failures.size(), 2);
  EXPECT_TRUE(m_failures[0].startsWith(In("file/snap_front.jpg") + ": ")) << m_failures[0].toStdString();
  EXPECT_GT(m_failures[0].size(), In("file/snap_front.jpg: ").size()) << "with the reason";
  EXPECT_EQ(Recording().State(), EngineState::Running) << "resumes as usual";
}

TEST_F(SnapshotTest, RecordingClosedDuringTheDialogStillGetsItsPicturesAndIsNotResumed) {
  Open(2);
  ASSERT_EQ(Recording().Run(), S_OK);
  m_chosen = In("pulled");
  m_whileChoosing = [this] { m_engine.Close(); };
  EXPECT_EQ(Take().written, (QStringList{In("pulled_front.jpg"), In("pulled_rear.jpg")}));
  EXPECT_EQ(m_engine.Recording(), nullptr);

  // Another recording opened meanwhile is not the one paused: it is left as it is.
  Open(2);
  ASSERT_EQ(Recording().Run(), S_OK);
  m_whileChoosing = [this] { m_engine.Open(test::CardFile("SNAP1.MP4", "--streams 1 --seconds 3")); };
  m_replace = true;
  Take();
  EXPECT_EQ(Recording().State(), EngineState::Stopped);
}

// Mean difference of the colour channels of two pictures of one size, 0..255.
double MeanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * a.width() * a.height());
}

// Both pictures of a paused recording at its start, and the zoomed parts saved beside them, carry the place of
// the first fix, as ExifTool reads it. A zoomed part is that part of the picture at the picture's resolution.
TEST_F(SnapshotTest, PicturesAndTheirZoomedPartsCarryTheFramesPlaceAsExifToolReadsIt) {
  Open(2);
  m_telemetry = ReadRecordingTelemetry(m_path);
  const auto firstFix = std::find_if(m_telemetry.gps.begin(), m_telemetry.gps.end(), [](auto& f) { return f.valid; });
  ASSERT_TRUE(firstFix != m_telemetry.gps.end() && firstFix->mediaMs <= 1000) << "a recording with GPS";
  ASSERT_EQ(Recording().Pause(), S_OK);
  QImage front;
  ASSERT_EQ(m_engine.GrabFrame(0, front), 1);
  m_chosen = In("placed");
  m_zooms = {PictureRegion{0.5, 0.25, 0.25, 0.25}, PictureRegion{0.0, 0.75, 0.25, 0.25}};
  ASSERT_EQ(Take().written.size(), 4);
  const QRect part(front.width() / 2, front.height() / 4, front.width() / 4, front.height() / 4);
  const QImage zoomed(In("placed_front-zoom.jpg"));
  ASSERT_EQ(zoomed.size(), part.size());
  EXPECT_LT(MeanDifference(zoomed, front.copy(part)), 6.0) << "the same pixels, give or take the JPEG";
  for (const char* name : {"placed_front.jpg", "placed_rear.jpg", "placed_front-zoom.jpg", "placed_rear-zoom.jpg"}) {
    const test::ToolOutput run = test::RunTool("exiftool -n -j " + test::Quote(In(name).toStdString()));
    ASSERT_EQ(run.status, 0) << "ExifTool is needed as the independent reader (Debian libimage-exiftool-perl)";
    std::smatch latitude;
    ASSERT_TRUE(std::regex_search(run.out, latitude, std::regex(R"("GPSLatitude": (-?[0-9.]+))"))) << run.out;
    EXPECT_NEAR(std::stod(latitude[1]), firstFix->latitude, 1e-6) << name;
    EXPECT_NE(run.out.find("\"DateTimeOriginal\""), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace vx
