// Tests of the catalogue rows: sorting by column clicks, and the playing row that follows its recording
// through sorts and removals, with Next and the loop over rows that fail to open.
#include "core/player/CatalogueRows.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace vx {
namespace {

RecordingEntry Entry(std::u16string name, std::u16string date = u"26.12.06",
                     std::optional<std::uint64_t> bytes = 1) {
  RecordingEntry e;
  e.fileName = name;
  e.date = std::move(date);
  e.path = u"/card/" + name;
  e.bytes = bytes;
  return e;
}

CCatalogueRows Rows(std::initializer_list<const char16_t*> names) {
  CCatalogueRows rows;
  for (const char16_t* name : names) rows.Append(Entry(name));
  return rows;
}

std::u16string Names(const CCatalogueRows& rows) {
  std::u16string all;
  for (int i = 0; i < rows.Count(); ++i) all += rows.At(i).fileName;
  return all;
}

int RowOf(const CCatalogueRows& rows, std::u16string_view name) {
  for (int i = 0; i < rows.Count(); ++i) {
    if (rows.At(i).fileName == name) return i;
  }
  return -1;
}

TEST(CatalogueRows, ColumnClicksToggleOnlyOnTheSameColumnAndSizesSortByBytes) {
  CCatalogueRows rows;
  rows.Append(Entry(u"b", u"26.12.07"));
  rows.Append(Entry(u"a", u"26.12.05"));
  rows.Append(Entry(u"c", u"26.12.06"));
  rows.SortByColumnClick(kColumnFileName);
  EXPECT_EQ(Names(rows), u"cba") << "the first click on the file name sorts descending";
  rows.SortByColumnClick(kColumnDate);
  EXPECT_EQ(std::tuple(Names(rows), rows.SortAscending()), std::tuple(u"acb", true)) << "another column: ascending";
  rows.SortByColumnClick(kColumnDate);
  EXPECT_EQ(std::tuple(Names(rows), rows.SortColumn()), std::tuple(u"bca", kColumnDate)) << "same column: descending";

  CCatalogueRows sizes = Rows({u"ten", u"nine", u"?"});  // equal rows keep their order, either way
  for (const bool ascending : {true, false}) {
    sizes.Sort(kColumnDate, ascending);
    EXPECT_EQ(Names(sizes), u"tennine?");
  }
  sizes.RemoveAll();
  sizes.Append(Entry(u"ten", {}, 10 * 1'048'576));
  sizes.Append(Entry(u"nine", {}, 9 * 1'048'576 + 512 * 1024));
  sizes.Append(Entry(u"?", {}, std::nullopt));
  sizes.Sort(kColumnSize, true);
  EXPECT_EQ(Names(sizes), u"?nineten") << "10.0 after 9.5; an unknown size first";
}

TEST(CatalogueRows, PlayingRowFollowsItsRecordingThroughSorts) {
  CCatalogueRows rows = Rows({u"a", u"b", u"c", u"d"});
  rows.SetPlayingRow(1);
  rows.Sort(kColumnFileName, false);  // d c b a
  EXPECT_EQ(rows.PlayingRow(), 2);
  EXPECT_EQ(rows.At(rows.NextRow()).fileName, u"a");
  EXPECT_EQ(rows.At(rows.PreviousRow()).fileName, u"c");
  rows.Append(Entry(u"e"));
  rows.Sort(kColumnFileName, true);
  EXPECT_EQ(rows.At(rows.PlayingRow()).fileName, u"b");
}

TEST(CatalogueRows, NextGoesOnWithTheRowThatFollowedARemovedPlayingRow) {
  CCatalogueRows rows = Rows({u"a", u"b", u"c", u"d", u"e"});
  rows.SetPlayingRow(1);  // b
  rows.RemoveRows(1, 1);
  EXPECT_EQ(rows.PlayingRow(), -1);
  EXPECT_EQ(rows.At(rows.NextRow()).fileName, u"c");
  EXPECT_EQ(rows.At(rows.PreviousRow()).fileName, u"a");
  rows.RemoveRows(RowOf(rows, u"c"), 1);  // the follower goes too
  EXPECT_EQ(rows.At(rows.NextRow()).fileName, u"d");
  rows.Sort(kColumnFileName, false);  // e d a
  EXPECT_EQ(rows.At(rows.NextRow()).fileName, u"d") << "the follower is followed through a sort";
  rows.RemoveRows(0, 1);  // a row before it changes nothing
  EXPECT_EQ(rows.At(rows.NextRow()).fileName, u"d");
}

TEST(CatalogueRows, RemovingRangesFromTheBottomUpOrAllGoesOnAfterThePlayingRow) {
  // The selected rows b, c and e are removed highest first while c plays.
  CCatalogueRows rows = Rows({u"a", u"b", u"c", u"d", u"e", u"f"});
  rows.SetPlayingRow(2);
  rows.RemoveRows(4, 1);
  rows.RemoveRows(1, 2);
  EXPECT_EQ(Names(rows), u"adf");
  EXPECT_EQ(rows.At(rows.NextRow()).fileName, u"d");
  EXPECT_EQ(rows.At(rows.PreviousRow()).fileName, u"a");
  rows.RemoveRows(1, 2);
  EXPECT_EQ(rows.NextRow(), rows.Count()) << "the follower and the rest gone: past the last row";
  EXPECT_EQ(rows.At(rows.PreviousRow()).fileName, u"a");

  rows.SetPlayingRow(0);
  rows.RemoveAll();
  rows.Append(Entry(u"new"));
  EXPECT_EQ(rows.NextRow(), rows.Count()) << "a removed list does not play the next search's rows";
  rows.ClearPlayingRow();
  EXPECT_EQ(rows.NextRow(), 0) << "after Stop, Next starts at the top";
  EXPECT_EQ(rows.PreviousRow(), -1);
}

TEST(CatalogueRows, OpenFromSkipsFailingRowsAndStopsAfterTheLast) {
  CCatalogueRows rows = Rows({u"a", u"b", u"c", u"d", u"e"});
  const std::set<std::u16string> broken = {u"b", u"c", u"e"};
  std::u16string tried;
  const auto open = [&](const RecordingEntry& e) {
    tried += e.fileName;
    return !broken.contains(e.fileName);
  };
  EXPECT_EQ(rows.OpenFrom(1, open), 3);
  EXPECT_EQ(tried, u"bcd");
  EXPECT_EQ(rows.PlayingRow(), 3);

  tried.clear();
  EXPECT_EQ(rows.OpenFrom(rows.NextRow(), open), -1) << "e fails and it is the last row";
  EXPECT_EQ(tried, u"e");
  EXPECT_EQ(rows.PlayingRow(), -1);
  EXPECT_EQ(rows.NextRow(), 0) << "idle";
  EXPECT_EQ(rows.OpenFrom(5, open), -1) << "past the end";
  EXPECT_EQ(rows.OpenFrom(-1, open), -1);

  std::u16string unplayable;
  for (int i = 0; i < rows.Count(); ++i) {
    if (rows.At(i).unplayable) unplayable += rows.At(i).fileName;
  }
  EXPECT_EQ(unplayable, u"bce") << "each row that failed is marked";
}

TEST(CatalogueRows, OpenOnlyTriesOneRowAndMarksItByTheOutcome) {
  CCatalogueRows rows = Rows({u"a", u"b", u"c"});
  bool works = false;
  std::u16string tried;
  const auto open = [&](const RecordingEntry& e) {
    tried += e.fileName;
    return works || e.fileName != u"b";
  };
  EXPECT_EQ(rows.OpenOnly(1, open), -1);
  EXPECT_EQ(tried, u"b") << "c is not tried";
  EXPECT_EQ(rows.PlayingRow(), -1);
  EXPECT_TRUE(rows.At(1).unplayable);
  works = true;  // the file became readable again
  EXPECT_EQ(rows.OpenOnly(1, open), 1);
  EXPECT_FALSE(rows.At(1).unplayable);
  EXPECT_EQ(rows.OpenOnly(3, open), -1) << "past the end";
  EXPECT_EQ(rows.PlayingRow(), -1);
}

TEST(CatalogueRows, OpenFromFollowsRowsChangedWhileOpening) {
  CCatalogueRows rows = Rows({u"a", u"b", u"c", u"d"});
  std::u16string tried;
  // Opening b removes b itself (a delete while the file was being opened) and fails.
  const auto open = [&](const RecordingEntry& e) {
    tried += e.fileName;
    if (e.fileName == u"b") rows.RemoveRows(RowOf(rows, u"b"), 1);
    return e.fileName == u"c";
  };
  EXPECT_EQ(rows.OpenFrom(0, open), 1);
  EXPECT_EQ(tried, u"abc") << "c, which followed b, is not skipped";
  EXPECT_EQ(rows.At(rows.PlayingRow()).fileName, u"c");
}

}  // namespace
}  // namespace vx
