// Tests of the folder search worker on its own: links, cancelling, and rows that all arrive before finished().
#include "player/CFolderSearch.h"

#include <gtest/gtest.h>

#include <set>

#include "CatalogueTree.h"
#include "ToolRunner.h"
#include "WaitUntil.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

// What one search, run to its end, handed over.
struct SearchRun {
  std::multiset<std::u16string> names;
  int batches = 0;
  bool rowsAfterFinished = false;
  bool finished = false;
  QString examined;
};

SearchRun RunSearch(const fs::path& folder, bool cancelFirst = false) {
  CFolderSearch search(QString::fromStdString(folder.string()), std::nullopt);
  SearchRun run;
  QObject::connect(&search, &CFolderSearch::rowsFound, &search, [&run](const std::vector<RecordingEntry>& rows) {
    run.rowsAfterFinished |= run.finished;
    ++run.batches;
    for (const RecordingEntry& row : rows) run.names.insert(row.fileName);
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

}  // namespace
}  // namespace vx
