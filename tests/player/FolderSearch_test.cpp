// Tests of the folder search worker on its own: links, cancelling, and rows that all arrive before finished().
#include "player/CFolderSearch.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <set>

#include "CatalogueTree.h"
#include "ToolRunner.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

// Runs one search to its end and gathers the file names of its rows.
struct SearchRun {
  std::multiset<std::u16string> names;
  int batches = 0;
  bool rowsAfterFinished = false;
  bool finished = false;

  explicit SearchRun(CFolderSearch& search) {
    QObject::connect(&search, &CFolderSearch::rowsFound, &search, [this](const std::vector<RecordingEntry>& rows) {
      rowsAfterFinished |= finished;
      ++batches;
      for (const RecordingEntry& row : rows) names.insert(row.fileName);
    }, Qt::QueuedConnection);
    QObject::connect(&search, &CFolderSearch::finished, &search, [this] { finished = true; }, Qt::QueuedConnection);
  }
};

TEST(FolderSearch, LinksToFoldersAreNotFollowed) {
  test::TempDir dir("search-links");
  const fs::path card = dir.Path();
  test::MakeFile(card / "sub" / "x.AVI");
  fs::create_directory_symlink(card, card / "sub" / "loop");             // would never end
  fs::create_directory_symlink(card / "sub", card / "sub" / "dir.AVI");  // a folder, named like a recording
  fs::create_symlink(card / "sub" / "x.AVI", card / "link.AVI");         // a link to a recording file
  fs::create_symlink(card / "gone", card / "dangling.AVI");
  CFolderSearch search(QString::fromStdString(card.string()), 0);
  SearchRun run(search);
  search.Start();
  ASSERT_TRUE(test::WaitFor([&] { return run.finished; }));
  EXPECT_EQ(run.names, (std::multiset<std::u16string>{u"x.AVI", u"link.AVI", u"dangling.AVI"}));
  EXPECT_TRUE(search.Finished());
}

TEST(FolderSearch, EveryRowArrivesBeforeFinished) {
  test::TempDir dir("search-batches");
  const int files = test::MakeLargeTree(dir.Path(), 3, 300);
  CFolderSearch search(QString::fromStdString(dir.Path().string()), std::nullopt);
  SearchRun run(search);
  search.Start();
  ASSERT_TRUE(test::WaitFor([&] { return run.finished; }));
  EXPECT_EQ(static_cast<int>(run.names.size()), files);
  EXPECT_GT(run.batches, 1) << "rows reach the list while the search runs";
  EXPECT_FALSE(run.rowsAfterFinished);
  EXPECT_TRUE(search.ExaminedPath().startsWith(QString::fromStdString(dir.Path().string())));
}

TEST(FolderSearch, CancelledBeforeItStartsFindsNothing) {
  test::TempDir dir("search-cancel");
  test::MakeLargeTree(dir.Path(), 2, 10);
  CFolderSearch search(QString::fromStdString(dir.Path().string()), std::nullopt);
  SearchRun run(search);
  search.Cancel();
  search.Start();
  ASSERT_TRUE(test::WaitFor([&] { return run.finished; }));
  EXPECT_TRUE(run.names.empty());
}

TEST(FolderSearch, MissingFolderFinishesEmpty) {
  CFolderSearch search(QStringLiteral("/nonexistent/card"), std::nullopt);
  SearchRun run(search);
  search.Start();
  ASSERT_TRUE(test::WaitFor([&] { return run.finished; }));
  EXPECT_TRUE(run.names.empty());
}

}  // namespace
}  // namespace vx
