// The events window over a card the card maker writes: its rows come from a worker, and a row plays its moment.
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <filesystem>

#include "MainWindowFixture.h"
#include "TestMedia.h"
#include "ToolRunner.h"
#include "core/cardindex/RecordingSummaries.h"
#include "core/player/ControlIds.h"
#include "player/CEventsDlg.h"
#include "player/CRecordingCatalogue.h"
#include "widgets/CTkSlider.h"

namespace vx::test {
namespace {

constexpr int kKindColumn = 1;
constexpr int kRecordingColumn = 4;

// F4 lists the card's events; a click on the hard braking plays its recording from 5 s before it, and the
// slider marks the braking. The index cache goes to the test's own folder.
TEST_F(MainWindowTest, AnEventChosenInTheEventsWindowPlaysFromFiveSecondsBeforeIt) {
  // Recordings of 26 s put the card maker's braking past the lead-in (it comes at a fifth of the first one).
  const std::string card = CardFolder("events-card", "--count 1 --seconds 26");
  const TempDir dir("events-window");
  ::setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
  QSignalSpy searched(&Window().Catalogue(), &CRecordingCatalogue::searchFinished);
  Window().Catalogue().BeginSearch(QString::fromStdString(card));
  ASSERT_TRUE(WaitUntil([&] { return !searched.isEmpty(); }));

  Type(Qt::Key_F4);
  CEventsDlg* events = Window().EventsWindow();
  ASSERT_NE(events, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return events->StatusText().contains(" events in "); }));
  ::unsetenv("XDG_CACHE_HOME");
  const QList<QTreeWidgetItem*> braking = events->Rows().findItems("hard braking", Qt::MatchExactly, kKindColumn);
  ASSERT_EQ(braking.size(), 1) << events->StatusText().toStdString();

  // The braking's place in its recording, worked out here from the file itself.
  const std::string recording = card + "/DCIM/100DRIVE/" + braking[0]->text(kRecordingColumn).toStdString();
  const RecordingSummary summary = SummarizeRecording(recording);
  const auto brake = std::find_if(summary.events.begin(), summary.events.end(),
                                  [](const DetectedEvent& e) { return e.kind == DetectedEvent::Kind::HardBraking; });
  ASSERT_NE(brake, summary.events.end());
  ASSERT_GT(brake->mediaMs, 5000u) << "the card's braking must lie past the lead-in for this test";

  QTreeWidget& rows = events->Rows();
  QTest::mouseClick(rows.viewport(), Qt::LeftButton, {}, rows.visualItemRect(braking[0]).center());
  ASSERT_TRUE(WaitUntil([&] { return LoadedPath() == QString::fromStdString(recording); }));
  Click(IDC_PLAY);  // pause, so that the position stays where the event put it
  ASSERT_EQ(State(), EngineState::Paused);
  EXPECT_GE(PositionMs(), std::int64_t{brake->mediaMs} - 5000);
  EXPECT_LT(PositionMs(), std::int64_t{brake->mediaMs}) << "played on past the event";
  const std::vector<int>& marks = Slider(IDC_POSITION_SLIDER).Marks();
  EXPECT_NE(std::find(marks.begin(), marks.end(), static_cast<int>(brake->mediaMs)), marks.end());
}

}  // namespace
}  // namespace vx::test
