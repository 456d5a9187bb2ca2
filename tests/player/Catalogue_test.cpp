// Tests of the catalogue driven as the window drives it: folder searches with the "Search Files" box, rows and
// their texts, column clicks, removal, dropped paths and the playing row.
#include "player/CRecordingCatalogue.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include "CatalogueTree.h"
#include "ToolRunner.h"
#include "WaitUntil.h"
#include "core/player/RecordingRules.h"
#include "player/CRecordingListModel.h"
#include "player/CSearchFilesBox.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using test::MakeFile;

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

// Presses OK on the "Search Files" box if it is open; true when it was.
bool PressOkOnSearchBox() {
  auto* box = qobject_cast<CSearchFilesBox*>(QApplication::activeModalWidget());
  if (!box) return false;
  box->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  return true;
}

class CatalogueTest : public ::testing::Test {
 protected:
  CatalogueTest() {
    m_window.resize(1020, 594);
    m_catalogue.List()->setGeometry(678, 329, 320, 240);
    m_window.show();
  }

  // Searches with the box; a box that does not close by itself is closed after a minute and fails the test.
  void Search(const fs::path& folder) {
    bool neededOk = false;
    QTimer watchdog;
    watchdog.callOnTimeout([&] { neededOk = PressOkOnSearchBox(); });
    watchdog.start(60'000);
    m_catalogue.SearchFolder(Q(folder));
    EXPECT_FALSE(neededOk) << "the Search Files box waited for OK after the search had finished";
    EXPECT_FALSE(m_catalogue.IsSearching());
  }
  // Empty files of these names in `card`, searched.
  void SearchNew(const fs::path& card, std::initializer_list<const char*> names) {
    for (const char* name : names) MakeFile(card / name);
    Search(card);
  }

  QVariant Data(int row, int role, int column = 0) const {
    return m_catalogue.List()->model()->index(row, column).data(role);
  }
  QString Text(int row, int column) const { return Data(row, Qt::DisplayRole, column).toString(); }

  QStringList Names() const {
    QStringList names;
    for (int row = 0; row < m_catalogue.RowCount(); ++row) names << Text(row, kColumnFileName);
    return names;
  }

  void ClickHeader(int column) {
    QHeaderView* header = m_catalogue.List()->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
  }

  test::TempDir m_dir{"catalogue"};
  QWidget m_window;
  CRecordingCatalogue m_catalogue{&m_window};
};

// The rules of names, events and sizes are the core's; here: nested folders, the filter applied, the columns
// filled, a second search that appends, and a column click that sorts.
TEST_F(CatalogueTest, NestedSearchListsEveryRecordingSortedByName) {
  const fs::path card = m_dir.Path() / "card";
  fs::create_directories(card / "empty");
  SearchNew(card, {"DCIM/2026/20261206_101500_E01.AVI", "DCIM/2026/deep/er/20261206_101600_D02.mp4", "b.MP4",
                   "20261206_101700_E03.Avi", "notes.txt"});  // own name: exact-case extension only
  EXPECT_EQ(Names(), (QStringList{"20261206_101500_E01.AVI", "20261206_101600_D02.mp4", "b.MP4"}));
  EXPECT_EQ(m_catalogue.Folder(), Q(card));
  EXPECT_EQ(Text(1, kColumnEvent), "Drive");
  EXPECT_EQ(m_catalogue.PathAt(1), Q(card / "DCIM" / "2026" / "deep" / "er" / "20261206_101600_D02.mp4"));
  EXPECT_TRUE(m_catalogue.List()->isColumnHidden(kColumnPath));

  SearchNew(m_dir.Path() / "more", {"0.AVI"});
  EXPECT_EQ(m_catalogue.RowCount(), 4);
  EXPECT_EQ(Names().front(), "0.AVI");
  ClickHeader(kColumnFileName);  // which way a click sorts is the core's rule
  EXPECT_EQ(Names().front(), "b.MP4");
}

// Sizes keep all their digits, in a column wide enough for them; a camera name too long for its column keeps
// its date and its end; the tooltip has the whole path.
TEST_F(CatalogueTest, NumbersAreNeverCutAndNamesKeepBothEnds) {
  const fs::path card = m_dir.Path() / "card";
  MakeFile(card / "20261206_081500_D01.MP4", 1'048'576);
  MakeFile(card / "20261206_081800_E04.MP4", (std::uint64_t{4} << 30) + 512 * 1024);
  Search(card);
  QTreeView* list = m_catalogue.List();
  for (const int column : {kColumnDate, kColumnSize}) {
    EXPECT_GE(list->columnWidth(column), list->sizeHintForIndex(list->model()->index(1, column)).width())
        << "column " << column << " cuts its text";
  }
  EXPECT_EQ(Data(1, Qt::ToolTipRole, kColumnEvent).toString(), m_catalogue.PathAt(1));
  const int nameWidth = list->columnWidth(kColumnFileName);
  const QString name = Text(1, kColumnFileName);
  const int narrow = list->fontMetrics().horizontalAdvance(name) * 3 / 4;
  const QString shown = list->fontMetrics().elidedText(name, list->textElideMode(), narrow);
  EXPECT_TRUE(shown.startsWith("2026") && shown.endsWith("E04.MP4")) << shown.toStdString();

  m_catalogue.RemoveAll();
  EXPECT_GT(list->columnWidth(kColumnFileName), nameWidth) << "an emptied list gives the name its width back";
}

// A file copied to a disk without the camera's time in its name takes the modification time the copy kept,
// in the zone the catalogue is given.
TEST_F(CatalogueTest, ACopiedFileIsDatedInTheZone) {
  const fs::path file = m_dir.Path() / "card" / "copied.AVI";
  MakeFile(file);
  const timespec times[2] = {{1'333'236'600, 0}, {1'333'236'600, 0}};  // 2012-03-31 23:30 UTC
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  m_catalogue.SetZoneBiasSource([] { return std::optional<int>(60); });
  Search(file.parent_path());
  EXPECT_EQ(Text(0, kColumnDate), "12.04.01");
}

TEST_F(CatalogueTest, RemovingEverySelectedRowLeavesTheFilesOnDisk) {
  const fs::path card = m_dir.Path() / "large";
  const int files = test::MakeLargeTree(card, 3, 500);
  SearchNew(card, {"zz.AVI"});
  ASSERT_EQ(m_catalogue.RowCount(), files + 1);
  m_catalogue.SelectAll();
  EXPECT_EQ(m_catalogue.FirstSelectedRow(), 0);
  QTreeView* list = m_catalogue.List();
  list->selectionModel()->select(list->model()->index(files, 0),
                                 QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
  m_catalogue.RemoveSelected();
  EXPECT_EQ(Names(), (QStringList{"zz.AVI"})) << "more than 1024 selected rows";
  m_catalogue.RemoveAll();
  EXPECT_EQ(m_catalogue.RowCount(), 0);
  EXPECT_EQ(std::distance(fs::recursive_directory_iterator(card), {}), files + 1 + 3);
}

// The playing row is bold, a row that failed dimmed with its reason; the selection and the mark follow their
// rows through a sort and a drop.
TEST_F(CatalogueTest, PlayingRowAndSelectionFollowTheirRowsThroughASortADropAndADelete) {
  const fs::path card = m_dir.Path() / "card";
  SearchNew(card, {"a.AVI", "b.AVI", "c.AVI", "d.AVI"});
  EXPECT_EQ(m_catalogue.OpenFrom(1, [](const RecordingEntry& row) { return !row.filePath.ends_with("b.AVI"); }), 2);
  EXPECT_EQ(m_catalogue.FirstSelectedRow(), 2);
  const auto bold = [&](int row) { return Data(row, Qt::FontRole).value<QFont>().bold(); };
  EXPECT_TRUE(bold(2) && !bold(1));
  EXPECT_TRUE(Data(1, Qt::ToolTipRole).toString().contains(UnplayableText()));
  EXPECT_TRUE(Data(1, Qt::ForegroundRole).isValid()) << "b is dimmed";
  EXPECT_FALSE(Data(2, Qt::ForegroundRole).isValid());

  m_catalogue.SortByFileName(false);  // d c b a
  EXPECT_EQ(m_catalogue.FirstSelectedRow(), 1) << "c is still the selected row";
  EXPECT_TRUE(bold(1));
  MakeFile(card / "0.AVI");
  m_catalogue.AddPaths({Q(card / "0.AVI")});  // a b c d sorted again, 0 in before the playing row
  EXPECT_EQ(m_catalogue.PlayingRow(), 3);
}

TEST_F(CatalogueTest, DroppedPathsAreCheckedBeforeUse) {
  const fs::path drop = m_dir.Path() / "drop";
  const char* const ownMixedCase = "20261206_101700_E03.Avi";  // own name: exact-case extension only
  for (const char* name : {"one.AVI", "folder/inner/two.mp4", ownMixedCase, "text.txt"}) MakeFile(drop / name);
  ASSERT_EQ(::mkfifo((drop / "pipe.AVI").c_str(), 0600), 0);
  fs::create_directories(drop / "folder.AVI");
  const QString nul = Q(drop / "one.AVI") + QChar(u'\0') + "x";
  m_catalogue.AddPaths({Q(drop / "one.AVI"), Q(drop / "folder"), Q(drop / ownMixedCase), Q(drop / "text.txt"),
                        Q(drop / "pipe.AVI"), Q(drop / "missing.AVI"), "one.AVI", "", nul,
                        "/" + QString(5000, 'a') + ".AVI", Q(drop / "folder.AVI")});
  EXPECT_EQ(Names(), (QStringList{"one.AVI", "two.mp4"}));
  EXPECT_EQ(m_catalogue.Folder(), Q(drop / "folder")) << "items are taken from the last to the first";
}

TEST_F(CatalogueTest, NewTitlesEmptyTheList) {
  SearchNew(m_dir.Path() / "card", {"a.AVI"});
  m_catalogue.ReloadTitles({u"파일 이름", u"날짜", u"크기", u"경로", u"이벤트"});
  EXPECT_EQ(m_catalogue.RowCount(), 0);
  EXPECT_EQ(m_catalogue.List()->model()->headerData(4, Qt::Horizontal).toString(), "이벤트");
}

// OK ends a search early, and a new search ends the one running: no rows arrive after either has ended.
TEST_F(CatalogueTest, OkOrANewSearchEndsTheSearchRunning) {
  const fs::path large = m_dir.Path() / "large";
  test::MakeLargeTree(large, 40, 100);
  QTimer::singleShot(0, [] { PressOkOnSearchBox(); });
  m_catalogue.SearchFolder(Q(large));
  EXPECT_FALSE(m_catalogue.IsSearching());
  int rows = m_catalogue.RowCount();
  // An ended search has joined its worker, so whatever it sent is posted by now: deliver it all.
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(m_catalogue.RowCount(), rows) << "no rows arrive after OK";

  m_catalogue.RemoveAll();
  for (const char* name : {"x.AVI", "y.AVI"}) MakeFile(m_dir.Path() / "small" / name);
  QSignalSpy finished(&m_catalogue, &CRecordingCatalogue::searchFinished);
  m_catalogue.BeginSearch(Q(large));
  m_catalogue.BeginSearch(Q(m_dir.Path() / "small"));
  ASSERT_TRUE(test::WaitUntil([&] { return !m_catalogue.IsSearching() && finished.size() == 2; }));
  rows = m_catalogue.RowCount();
  EXPECT_TRUE(Names().contains("x.AVI") && Names().contains("y.AVI"));
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(m_catalogue.RowCount(), rows) << "the first search stays stopped";
}

// A catalogue destroyed while its search runs, after its window, or while its box is open.
TEST_F(CatalogueTest, DestroyedWhileSearchingOrWhileItsBoxIsOpen) {
  test::MakeLargeTree(m_dir.Path(), 40, 100);
  for (int round = 0; round < 3; ++round) {
    auto window = std::make_unique<QWidget>();
    auto catalogue = std::make_unique<CRecordingCatalogue>(window.get());
    catalogue->BeginSearch(Q(m_dir.Path()));
    if (round == 1) QCoreApplication::processEvents();
    if (round == 2) window.reset();  // the window goes first, taking the list with it
    catalogue.reset();
    QCoreApplication::processEvents();
  }
  auto* catalogue = new CRecordingCatalogue(&m_window);
  QTimer::singleShot(0, [&] { delete catalogue; catalogue = nullptr; });
  catalogue->SearchFolder(Q(m_dir.Path()));
  test::WaitUntil([&] { return catalogue == nullptr; });
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace vx
