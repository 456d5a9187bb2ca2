// The recording catalogue of the main window: the list of recordings (control 1013), how rows come in (folder
// search, open files, dropped paths), how they are sorted and removed, and which row is playing.
//
// How the window uses it:
// - Construct it with the window; place and show List() by the layout tables (IDC_LIST). Give it the column
//   titles with ReloadTitles at start and on a language change (which empties the list), and, while the
//   settings dialog exists, its zone through SetZoneBiasSource.
// - Commands: OPEN / "Select Drive" / F2 -> ChooseFolder; "Open(&O)" -> OpenFiles; drops and command-line
//   arguments -> AddPaths; "Sort ASC"/"Sort DESC" -> SortByFileName; "Delete(&D)"/Delete -> RemoveSelected;
//   "DeleteAll" -> RemoveAll; "Select All"/Ctrl+A -> SelectAll. Column clicks sort by themselves.
// - Transport: the window plays through the card with OpenFrom(row, open), where `open` is its OpenRecording
//   without any skipping of its own: a row that fails to open is marked unplayable and followed by the next
//   one, and -1 after the last means "stop, idle". PlayPause starts at FirstSelectedRow() (0 when none)
//   unless IsPlayingRow says that row is already open; Next plays OpenFrom(NextRow()). A row chosen by
//   itself (double-click, Previous) is opened with OpenOnly; when it fails the window stops and StandOn
//   keeps it as the row Next and Previous step from. Stop calls ClearPlayingRow.
// - Signals: rowActivated (double-click: the window plays that row), commandChosen (an item of the context
//   menu: the window routes the ID_* command through its command table), searchFinished.
// - Trips view: "Trips" / F6 -> ShowTrips(!IsShowingTrips()). The list then shows the card's trips with their
//   recordings under them, read on a worker with the reading's progress as its one row. A double-click there
//   sends recordingActivated with a recording's file, which the window plays by path, or tripActivated with
//   a trip's recordings, which the window plays as one.
//   Rows are still counted, played and stepped through in the flat list's order; Delete and column clicks do
//   nothing in the trips view, and emptying the list leaves it.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/cardindex/TripRows.h"
#include "core/cardindex/ViewerPreferences.h"
#include "core/player/CatalogueRows.h"

class QAbstractItemModel;
class QAction;
class QMenu;
class QTreeView;
class QWidget;

namespace vx {

class CCardIndexReader;
class CFolderSearch;
class CRecordingListModel;
class CSearchFilesBox;
class CTripListModel;

class CRecordingCatalogue : public QObject {
  Q_OBJECT

 public:
  // `window` parents the list view and the dialogs; the catalogue itself may be a member of the window.
  explicit CRecordingCatalogue(QWidget* window, QObject* parent = nullptr);
  ~CRecordingCatalogue() override;

  QTreeView* List() const;
  QMenu* ContextMenu() const;

  // Column titles in column order (file name, date, size, path, event); the list is emptied.
  void ReloadTitles(const std::array<std::u16string, kColumnCount>& titles);
  // Asked at the start of each search, open or drop: the settings record's zone in minutes, or empty.
  void SetZoneBiasSource(std::function<std::optional<int>()> source);

  // Folder browser, then SearchFolder.
  void ChooseFolder();
  // Searches the folder on a worker thread while the modal "Search Files" box shows the path being examined
  // (OK ends the search early); the box closes when the search is done. Then the list is sorted by file name.
  void SearchFolder(const QString& folder);
  // The same without the box: returns at once; searchFinished() follows. A search still running is ended
  // first (its rows so far are kept).
  void BeginSearch(const QString& folder);
  bool IsSearching() const;
  // The folder of the last search (m_strFolder).
  const QString& Folder() const { return m_strFolder; }
  // File dialog; each chosen file becomes a row.
  void OpenFiles();
  // Dropped items and command-line arguments, from the last to the first: an absolute path of a folder is
  // searched, of a recording file (by its extension) added; anything else is ignored. Then sorted.
  void AddPaths(const QStringList& paths);

  void SortByFileName(bool ascending);
  void SortByColumnClick(int column);
  void RemoveSelected();
  void RemoveAll();
  void SelectAll();

  int RowCount() const;
  QString PathAt(int row) const;
  // The row that opens `filePath` (its own file or its rear partner), -1 when none does.
  int RowOfFile(const std::string& filePath) const;
  // The row's recording: its file, its partner file and its texts.
  const RecordingEntry& EntryAt(int row) const;
  // The folder whose recordings the list shows: the last one searched, else that of the first row's file;
  // empty for an empty list. Bytes as the file system gives them.
  std::string CardFolder() const;
  int FirstSelectedRow() const;
  int PlayingRow() const;
  bool IsPlayingRow(int row) const { return row >= 0 && row == PlayingRow(); }
  int NextRow() const;
  int PreviousRow() const;
  // Opens a row's file, and its partner file when it has one, by their paths' bytes.
  using OpenFile = std::function<bool(const RecordingEntry& entry)>;
  // Opens rows from `row` on until `open` accepts one; that row becomes the playing row, the only selected
  // one, and is scrolled into view. -1 when none opened up to the last row: nothing plays.
  int OpenFrom(int row, const OpenFile& open);
  // The same for `row` alone: -1 when it does not open.
  int OpenOnly(int row, const OpenFile& open);
  // Makes `row` the playing row with nothing open (one that failed to open), selected and in view, so that
  // Next and Previous step from it.
  void StandOn(int row);
  // True once the row has failed to open (until it opens).
  bool IsUnplayable(int row) const;
  void ClearPlayingRow();

  // Shows the card's trips instead of the flat list, or the flat list again.
  void ShowTrips(bool shown);
  // The trip gap and event thresholds the trips view reads the card with; a change reads a shown view again.
  void SetPreferences(const ViewerPreferences& preferences);
  bool IsShowingTrips() const;

 signals:
  void rowActivated(int row);
  void recordingActivated(const std::string& filePath);
  void tripActivated(const std::vector<vx::TripRecordingRow>& recordings);
  void commandChosen(int commandId);
  void searchFinished();

 private:
  void BuildList(QWidget* window);
  // Shows `model` in the list; the header's sections are made anew and want their layout again.
  void SetListModel(QAbstractItemModel* model);
  void ApplyListColumns();
  void ApplyTripColumns();
  // Reads the card of the list for the trips view, showing the reading's progress meanwhile.
  void ReadTrips();
  void ShowTripsRead();
  void SpanWholeWidthRows();
  void ActivateIndex(const QModelIndex& index);
  // The list's index of a flat row: in the trips view, the row of its recording (invalid when no trip has it).
  QModelIndex ViewIndexOfRow(int row) const;
  void BuildContextMenu();
  std::optional<int> ZoneBias() const;
  void AppendRows(std::vector<RecordingEntry> rows);
  // Widens the date and size columns to their longest text (never below their own width).
  void FitNumberColumns();
  void SelectOnly(int row);
  void OnSearchFinished();
  // Ends the current search (cancelling it if it still runs), takes its last rows and sorts by file name.
  void FinishSearch();
  // Searches a folder at once; a recording file's path is added to `files`.
  void AddPath(const QString& path, std::vector<std::string>& files);
  // Appends the rows of files opened by themselves, one row for each front and rear pair.
  void AppendFiles(const std::vector<std::string>& paths);

  QPointer<QWidget> m_pWindow;
  QPointer<QTreeView> m_pList;
  CRecordingListModel* m_pModel;
  CTripListModel* m_pTrips;
  std::unique_ptr<CCardIndexReader> m_pTripsReader;
  ViewerPreferences m_preferences;
  QPointer<QAction> m_pTripsAction;
  QPointer<QMenu> m_pMenu;
  QPointer<CSearchFilesBox> m_pBox;
  std::unique_ptr<CFolderSearch> m_pSearch;
  std::function<std::optional<int>()> m_zoneBiasSource;
  QString m_strFolder;
};

}  // namespace vx
