// The list's trips view over a card the card maker writes: trips and their recordings, an unreadable
// recording's row, playing from it, and the flat list coming back.
#include <QAbstractItemModel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <filesystem>
#include <fstream>
#include <random>

#include "MainWindowFixture.h"
#include "TestMedia.h"
#include "ToolRunner.h"
#include "core/player/CatalogueRows.h"
#include "core/player/ControlIds.h"
#include "player/CRecordingCatalogue.h"

namespace vx::test {
namespace {

constexpr const char* kJunkName = "20261207_090000_D09.MP4";

// The number of recordings of each trip, as vx880-telemetry --trips counts them.
std::vector<int> ToolTripSizes(const std::string& card) {
  const ToolOutput output = RunTool(Tool("vx880-telemetry") + " --trips " + Quote(card) + " 2>/dev/null");
  std::vector<int> sizes;
  const std::vector<std::string> lines = Lines(output.out);
  for (std::size_t i = 1; i < lines.size(); ++i) {  // after the title line
    std::istringstream fields(lines[i]);
    std::string start, end, count;
    std::getline(fields, start, ',');
    std::getline(fields, end, ',');
    std::getline(fields, count, ',');
    sizes.push_back(std::stoi(count));
  }
  return sizes;
}

// A file named like a drive recording that holds random bytes, on a day of its own.
void WriteJunkRecording(const std::string& card) {
  std::ofstream out(card + "/DCIM/100DRIVE/" + kJunkName, std::ios::binary);
  std::mt19937 random(7);
  for (int i = 0; i < 4096; ++i) out.put(static_cast<char>(random()));
}

QString TextAt(const QModelIndex& index) { return index.data().toString(); }

// F6 shows the card's trips as the telemetry tool groups them, the junk recording among them as a row that
// says it cannot be read; a recording row plays that recording, a trip row its first; F6 brings the flat list
// back as it was.
TEST_F(MainWindowTest, TripsViewListsTheCardsTripsAndPlaysTheirRecordings) {
  const std::string card = CardFolder("trips-card", "");
  WriteJunkRecording(card);
  const std::vector<int> toolTrips = ToolTripSizes(card);
  ASSERT_FALSE(toolTrips.empty());
  const TempDir dir("trips-view");
  ::setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
  CRecordingCatalogue& catalogue = Window().Catalogue();
  QSignalSpy searched(&catalogue, &CRecordingCatalogue::searchFinished);
  catalogue.BeginSearch(QString::fromStdString(card));
  ASSERT_TRUE(WaitUntil([&] { return !searched.isEmpty(); }));
  const int flatRows = catalogue.RowCount();
  QTreeView* list = catalogue.List();
  const auto columnWidths = [list] {
    std::vector<int> widths;
    for (int column = 0; column < kColumnCount; ++column) widths.push_back(list->columnWidth(column));
    return widths;
  };
  const std::vector<int> flatWidths = columnWidths();

  // The reading's progress stands in the list until the trips come.
  QStringList statusSeen;
  Type(Qt::Key_F6);
  ASSERT_TRUE(catalogue.IsShowingTrips());
  QAbstractItemModel* trips = list->model();
  const QObject watcher;  // goes before what its connection writes to
  QObject::connect(trips, &QAbstractItemModel::dataChanged, &watcher, [&] {
    if (!trips->hasChildren(trips->index(0, 0))) statusSeen << TextAt(trips->index(0, 0));
  });
  ASSERT_TRUE(WaitUntil([&] { return trips->hasChildren(trips->index(0, 0)); }));
  ::unsetenv("XDG_CACHE_HOME");
  EXPECT_FALSE(statusSeen.filter(QRegularExpression("^Reading the card: \\d+ of \\d+ recordings$")).isEmpty())
      << statusSeen.join('\n').toStdString();

  ASSERT_EQ(trips->rowCount(), static_cast<int>(toolTrips.size()));
  for (int column = 0; column < trips->columnCount(); ++column) {
    EXPECT_FALSE(list->isColumnHidden(column)) << "column " << column << " of the trips";
  }
  QModelIndex junk;
  for (int t = 0; t < trips->rowCount(); ++t) {
    const QModelIndex trip = trips->index(t, 0);
    EXPECT_EQ(trips->rowCount(trip), toolTrips[static_cast<std::size_t>(t)]) << "trip " << t;
    // A trip starts with its first recording (one that cannot be read has only its one text).
    if (!list->isFirstColumnSpanned(0, trip)) {
      EXPECT_EQ(TextAt(trips->index(t, 1)).toStdString(), TextAt(trips->index(0, 1, trip)).toStdString()) << "trip " << t;
    }
    for (int r = 0; r < trips->rowCount(trip); ++r) {
      if (TextAt(trips->index(r, 0, trip)).startsWith(kJunkName)) junk = trips->index(r, 0, trip);
    }
  }
  ASSERT_TRUE(junk.isValid());
  EXPECT_TRUE(TextAt(junk).contains(": cannot be read: ")) << TextAt(junk).toStdString();
  EXPECT_TRUE(list->isFirstColumnSpanned(junk.row(), junk.parent())) << "the reason must not be cut to a column";

  // A recording row plays that recording, a trip row its first one; the playing recording is the list's current row.
  struct Choice {
    int trip;
    int recording;  // -1: the trip's own row
    int played;     // the recording of the trip expected to play
  };
  for (const Choice choice : {Choice{0, 1, 1}, Choice{1, -1, 0}}) {
    const QModelIndex trip = trips->index(choice.trip, 0);
    list->expand(trip);
    DoubleClickIndex(choice.recording < 0 ? trip : trips->index(choice.recording, 0, trip));
    const QModelIndex played = trips->index(choice.played, 0, trip);
    ASSERT_TRUE(WaitUntil([&] { return LoadedPath().endsWith("/" + TextAt(played)); }))
        << "trip " << choice.trip << " recording " << choice.recording << ": " << LoadedPath().toStdString();
    EXPECT_EQ(list->currentIndex().siblingAtColumn(0), played);
    EXPECT_TRUE(catalogue.IsShowingTrips());
  }

  // The flat list comes back with its rows and columns.
  Type(Qt::Key_F6);
  EXPECT_FALSE(catalogue.IsShowingTrips());
  EXPECT_EQ(list->model()->rowCount(), flatRows);
  EXPECT_EQ(columnWidths(), flatWidths);
  EXPECT_FALSE(list->rootIsDecorated());
  EXPECT_EQ(list->currentIndex().row(), catalogue.PlayingRow());
}

}  // namespace
}  // namespace vx::test
