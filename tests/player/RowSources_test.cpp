// Tests of where the catalogue's rows come from: single files (a file that cannot be queried, names in any
// encoding, the computer's offset from UTC) and the folder search worker (links, cancelling, batches).
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "CatalogueTree.h"
#include "TestTime.h"
#include "ToolRunner.h"
#include "WaitUntil.h"
#include "player/CFolderSearch.h"
#include "player/RecordingFile.h"

namespace vx {
namespace {

constexpr std::int64_t kJanuary2026 = 1'768'478'400;  // 2026-01-15 12:00 UTC
constexpr std::int64_t kJuly2026 = 1'784'116'800;     // 2026-07-15 12:00 UTC

TEST(RecordingFile, LocalOffsetIncludesSummerTime) {
  const struct {
    const char* zone;
    int january, july;
  } zones[] = {{"CET-1CEST,M3.5.0,M10.5.0/3", 60, 120}, {"ACST-9:30ACDT,M10.1.0,M4.1.0/3", 630, 570},
               {"EST5EDT,M3.2.0,M11.1.0", -300, -240}};
  for (const auto& z : zones) {
    const test::ScopedComputerZone zone(z.zone);
    EXPECT_EQ(LocalOffsetMinutes(kJanuary2026), z.january) << z.zone;
    EXPECT_EQ(LocalOffsetMinutes(kJuly2026), z.july) << z.zone;
  }
}

TEST(RecordingFile, FileThatCannotBeQueriedKeepsWhatItsPathSays) {
  const RecordingEntry row = MakeRecordingEntry("/nonexistent/card/20261206_101500_P01.AVI", std::nullopt);
  EXPECT_EQ(row.path, u"/nonexistent/card/20261206_101500_P01.AVI");
  EXPECT_EQ(row.event, u"Parking");
  EXPECT_EQ(row.date, u"26.12.06") << "the camera's time in the name";
  EXPECT_TRUE(row.size.empty() && !row.bytes);
  EXPECT_TRUE(MakeRecordingEntry("/nonexistent/card/a.AVI", std::nullopt).date.empty());
}

// Names in the card's own characters, and names valid in no encoding, which only their bytes open.
TEST(RecordingFile, PathBytesAreKeptWhateverTheirEncoding) {
  test::TempDir dir("recording-file");
  for (const std::string name : {"주행_D01.AVI", "\xff\xfe.MP4", "\xc3\x28_E01.AVI"}) {
    const std::string path = dir / name;
    test::MakeFile(path, 1'048'576);
    const RecordingEntry row = MakeRecordingEntry(path, 0);
    EXPECT_EQ(row.filePath, path);
    EXPECT_EQ(row.size, u"1.0") << "queried by its bytes";
    EXPECT_FALSE(row.fileName.empty());
  }
  EXPECT_EQ(MakeRecordingEntry(dir / "주행_D01.AVI", 0).fileName, u"주행_D01.AVI");
}

namespace fs = std::filesystem;

// What one search, run to its end, handed over.
struct SearchRun {
  std::multiset<std::u16string> names;
  int batches = 0;
  bool rowsAfterFinished = false;
  bool finished = false;
  QString examined;
};

SearchRun RunSearch(const fs::path& folder, bool cancelFirst = false, std::vector<RecordingEntry>* found = nullptr) {
  CFolderSearch search(QString::fromStdString(folder.string()), std::nullopt);
  SearchRun run;
  QObject::connect(&search, &CFolderSearch::rowsFound, &search, [&run, found](const std::vector<RecordingEntry>& rows) {
    run.rowsAfterFinished |= run.finished;
    ++run.batches;
    for (const RecordingEntry& row : rows) run.names.insert(row.fileName);
    if (found) found->insert(found->end(), rows.begin(), rows.end());
  }, Qt::QueuedConnection);
  QObject::connect(&search, &CFolderSearch::finished, &search, [&run] { run.finished = true; }, Qt::QueuedConnection);
  if (cancelFirst) search.Cancel();
  search.Start();
  EXPECT_TRUE(test::WaitUntil([&] { return run.finished; }));
  EXPECT_TRUE(search.Finished());
  run.examined = search.ExaminedPath();
  return run;
}

TEST(FolderSearch, LinksToFoldersAreNotFollowed) {
  test::TempDir dir("search-links");
  const fs::path card = dir.Path();
  test::MakeFile(card / "sub" / "x.AVI");
  fs::create_directory_symlink(card, card / "sub" / "loop");             // would never end
  fs::create_directory_symlink(card / "sub", card / "sub" / "dir.AVI");  // a folder, named like a recording
  fs::create_symlink(card / "sub" / "x.AVI", card / "link.AVI");         // a link to a recording file
  fs::create_symlink(card / "gone", card / "dangling.AVI");
  EXPECT_EQ(RunSearch(card).names, (std::multiset<std::u16string>{u"x.AVI", u"link.AVI", u"dangling.AVI"}));
}

// Every row arrives before finished(), in several batches; a search cancelled before it starts, or of a
// missing folder, finds nothing.
TEST(FolderSearch, EveryRowArrivesBeforeFinishedAndACancelledSearchFindsNothing) {
  test::TempDir dir("search-batches");
  const int files = test::MakeLargeTree(dir.Path(), 3, 300);
  const SearchRun run = RunSearch(dir.Path());
  EXPECT_EQ(static_cast<int>(run.names.size()), files);
  EXPECT_GT(run.batches, 1) << "rows reach the list while the search runs";
  EXPECT_FALSE(run.rowsAfterFinished);
  EXPECT_TRUE(run.examined.startsWith(QString::fromStdString(dir.Path().string())));
  EXPECT_TRUE(RunSearch(dir.Path(), true).names.empty());
  EXPECT_TRUE(RunSearch("/nonexistent/card").names.empty());
}

// A card mixing cameras: one row for each recording or front and rear pair, with the event and date its name and
// folder tell; the rear file opened by itself gives its front's row.
TEST(FolderSearch, MixedCardListsEveryCamerasRecordingsAndPairsFrontWithRear) {
  test::TempDir dir("search-mixed");
  const fs::path card = dir.Path();
  for (const char* name : {"20261206_101500_E01.AVI", "20261206_101500_D01.mp4", "20261206_101500_P01.Mp4",
                           "2023_0101_120000_0001F.MP4", "2023_0101_120000_0001R.MP4", "Front/X.MP4", "Rear/X.MP4",
                           "Parking/clip.MOV", "RO/230102-080000.ts", "Record/20230103_090000_NR.mp4",
                           "PARKER.MP4", "notes.txt"}) {
    test::MakeFile(card / name);
    // 2001-06-15 12:00 UTC: the same day in every zone, and earlier than the file's birth.
    const std::chrono::sys_seconds midday{std::chrono::seconds{992'606'400}};
    fs::last_write_time(card / name, std::chrono::file_clock::from_sys(midday));
  }
  std::vector<RecordingEntry> rows;
  RunSearch(card, false, &rows);
  using Row = std::tuple<std::string, std::u16string, std::u16string, std::string>;  // path, event, date, partner
  std::set<Row> found;
  const auto local = [&card](const std::string& path) {
    return path.empty() ? path : path.substr(card.string().size());
  };
  for (const RecordingEntry& row : rows) {
    found.insert({local(row.filePath), row.event, row.date, local(row.partnerFilePath)});
  }
  EXPECT_EQ(found, (std::set<Row>{{"/20261206_101500_E01.AVI", u"Event", u"26.12.06", ""},
                                  {"/20261206_101500_D01.mp4", u"Drive", u"26.12.06", ""},
                                  {"/2023_0101_120000_0001F.MP4", u"", u"23.01.01", "/2023_0101_120000_0001R.MP4"},
                                  {"/Front/X.MP4", u"", u"01.06.15", "/Rear/X.MP4"},
                                  {"/Parking/clip.MOV", u"Parking", u"01.06.15", ""},
                                  {"/RO/230102-080000.ts", u"Event", u"23.01.02", ""},
                                  {"/Record/20230103_090000_NR.mp4", u"Drive", u"23.01.03", ""},
                                  {"/PARKER.MP4", u"", u"01.06.15", ""}}));
  const RecordingEntry opened = MakeRecordingEntry(card / "Rear/X.MP4", std::nullopt);
  EXPECT_EQ(local(opened.filePath), "/Front/X.MP4");
  EXPECT_EQ(local(opened.partnerFilePath), "/Rear/X.MP4");
}

}  // namespace
}  // namespace vx
