// The recording catalogue: list view, folder search with its box, open and drop, sorting, removal, playing row.
#include "player/CRecordingCatalogue.h"

#include <fcntl.h>

#include <algorithm>
#include <climits>
#include <set>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QTreeView>

#include "core/player/ControlIds.h"
#include "core/player/RecordingNames.h"
#include "player/CCardIndexReader.h"
#include "player/CFolderSearch.h"
#include "player/CRecordingListModel.h"
#include "player/CSearchFilesBox.h"
#include "player/CTripListModel.h"
#include "player/RecordingFile.h"

namespace vx {
namespace {

constexpr std::array<int, kColumnCount> kColumnWidths = {146, 62, 42, 0, 50};
constexpr int kListPointSize = 8;

struct MenuItem {
  const char* text;  // nullptr: separator
  int command;
};

// Context menu 225 ("LIST").
constexpr MenuItem kListMenu[] = {
    {"Open(&O)", ID_OPEN},       {"Select Drive", ID_SELECT_DRIVE}, {"Play(&P)", ID_PLAY},
    {"Stop(&S)", ID_STOP},       {"Next(&N)", ID_NEXT},             {"Back(&B)", ID_BACK},
    {nullptr, 0},                {"Delete(&D)", ID_DELETE},         {"DeleteAll", ID_DELETE_ALL},
    {"Select All", ID_SELECT_ALL}, {nullptr, 0},                    {"Sort ASC", ID_SORT_ASC},
    {"Sort DESC", ID_SORT_DESC},   {nullptr, 0},                    {"Attach GPX\u2026", ID_ATTACH_GPX},
    {"Detach GPX", ID_DETACH_GPX},
    {nullptr, 0},                  {"Events\u2026", ID_EVENTS},
    {"Trips", ID_TRIPS},
    {nullptr, 0},                  {"Next Frame\t.", ID_FRAME_FORWARD},
    {"Previous Frame\t,", ID_FRAME_BACK},
    {"Reset Zoom\t0", ID_ZOOM_RESET},
    {nullptr, 0},                  {"Mark In\tI", ID_MARK_IN},
    {"Mark Out\tO", ID_MARK_OUT},
    {"Clear Span", ID_CLEAR_SPAN},
    {"Export\u2026", ID_EXPORT},
    {nullptr, 0},                  {"Preferences\u2026", ID_PREFERENCES},
};

// A path handed in from outside (a drop, the command line): absolute, without NUL, within the system's limit.
std::optional<std::string> CheckedPath(const QString& path) {
  if (path.isEmpty() || !QDir::isAbsolutePath(path) || path.contains(QChar(u'\0'))) return std::nullopt;
  const QByteArray bytes = QFile::encodeName(path);
  if (bytes.size() >= PATH_MAX) return std::nullopt;
  return bytes.toStdString();
}

}  // namespace

CRecordingCatalogue::CRecordingCatalogue(QWidget* window, QObject* parent)
    : QObject(parent),
      m_pWindow(window),
      m_pModel(new CRecordingListModel(this)),
      m_pTrips(new CTripListModel(this)),
      m_pTripsReader(std::make_unique<CCardIndexReader>()) {
  BuildList(window);
  BuildContextMenu();
  connect(m_pTripsReader.get(), &CCardIndexReader::progress, this, [this](std::size_t done, std::size_t total) {
    m_pTrips->ShowStatus(QStringLiteral("Reading the card: %1 of %2 recordings").arg(done).arg(total));
  });
  connect(m_pTripsReader.get(), &CCardIndexReader::finished, this, &CRecordingCatalogue::ShowTripsRead);
}

CRecordingCatalogue::~CRecordingCatalogue() {
  if (m_pSearch) {
    m_pSearch->Cancel();
    m_pSearch->Wait();
  }
  delete m_pBox;  // a box still open returns from its exec()
}

QTreeView* CRecordingCatalogue::List() const { return m_pList; }

QMenu* CRecordingCatalogue::ContextMenu() const { return m_pMenu; }

void CRecordingCatalogue::BuildList(QWidget* window) {
  m_pList = new QTreeView(window);
  m_pList->setModel(m_pModel);
  m_pList->setRootIsDecorated(false);
  m_pList->setItemsExpandable(false);
  m_pList->setUniformRowHeights(true);
  m_pList->setAllColumnsShowFocus(true);
  m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_pList->setContextMenuPolicy(Qt::CustomContextMenu);
  m_pList->setWordWrap(true);
  // The dialog font size of the narrow columns. A name too long for its column keeps its start (the camera's
  // date and time) and its end (type, number and extension); the date and size columns widen to their
  // longest text (FitNumberColumns) at the name's expense, so that no number is ever cut.
  QFont font = m_pList->font();
  font.setPointSize(kListPointSize);
  m_pList->setFont(font);
  QHeaderView* header = m_pList->header();
  header->setStretchLastSection(false);
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(false);
  ApplyListColumns();
  QPalette palette = m_pList->palette();
  palette.setColor(QPalette::Base, QColor(50, 50, 50));
  palette.setColor(QPalette::Text, QColor(105, 105, 105));
  m_pList->setPalette(palette);
  connect(header, &QHeaderView::sectionClicked, this, &CRecordingCatalogue::SortByColumnClick);
  connect(m_pList, &QTreeView::doubleClicked, this, &CRecordingCatalogue::ActivateIndex);
  connect(m_pList, &QWidget::customContextMenuRequested, this, [this](const QPoint& point) {
    if (m_pMenu && m_pList) m_pMenu->popup(m_pList->viewport()->mapToGlobal(point));
  });
}

// A header keeps each section's hiding and resize mode across models, so every section is set here.
void CRecordingCatalogue::ApplyListColumns() {
  m_pList->setRootIsDecorated(false);
  m_pList->setItemsExpandable(false);
  m_pList->setTextElideMode(Qt::ElideMiddle);
  QHeaderView* header = m_pList->header();
  for (int column = 0; column < kColumnCount; ++column) {
    header->setSectionResizeMode(column, QHeaderView::Interactive);
    header->resizeSection(column, kColumnWidths[static_cast<std::size_t>(column)]);
  }
  header->setSectionResizeMode(kColumnFileName, QHeaderView::Stretch);
  m_pList->setColumnHidden(kColumnPath, true);
}

void CRecordingCatalogue::ActivateIndex(const QModelIndex& index) {
  if (!index.isValid()) return;
  if (!IsShowingTrips()) {
    emit rowActivated(index.row());
    return;
  }
  if (const TripRow* trip = m_pTrips->TripAt(index)) {
    emit tripActivated(trip->recordings);
    return;
  }
  const std::string path = m_pTrips->RecordingAt(index);
  if (!path.empty()) emit recordingActivated(path);
}

void CRecordingCatalogue::BuildContextMenu() {
  m_pMenu = new QMenu(QStringLiteral("LIST"), m_pList);
  for (const MenuItem& item : kListMenu) {
    if (!item.text) {
      m_pMenu->addSeparator();
      continue;
    }
    const int command = item.command;
    QAction* action =
        m_pMenu->addAction(QString::fromUtf8(item.text), this, [this, command] { emit commandChosen(command); });
    if (command == ID_TRIPS) {
      action->setCheckable(true);
      m_pTripsAction = action;
    }
  }
}

void CRecordingCatalogue::ReloadTitles(const std::array<std::u16string, kColumnCount>& titles) {
  std::array<QString, kColumnCount> texts;
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = QString::fromStdU16String(titles[i]);
  m_pModel->SetTitles(texts);
  RemoveAll();
}

void CRecordingCatalogue::SetZoneBiasSource(std::function<std::optional<int>()> source) {
  m_zoneBiasSource = std::move(source);
}

std::optional<int> CRecordingCatalogue::ZoneBias() const {
  return m_zoneBiasSource ? m_zoneBiasSource() : std::nullopt;
}

void CRecordingCatalogue::ChooseFolder() {
  const QString folder = QFileDialog::getExistingDirectory(m_pWindow);
  if (!folder.isEmpty()) SearchFolder(folder);
}

void CRecordingCatalogue::SearchFolder(const QString& folder) {
  BeginSearch(folder);
  if (IsSearching()) {
    const QPointer<CRecordingCatalogue> self(this);
    m_pBox = new CSearchFilesBox(m_pWindow, [this] { return m_pSearch ? m_pSearch->ExaminedPath() : QString(); });
    connect(this, &CRecordingCatalogue::searchFinished, m_pBox, &QDialog::accept);
    m_pBox->exec();
    if (!self) return;
    delete m_pBox;
  }
  FinishSearch();  // OK pressed: the worker stops at its next entry
}

void CRecordingCatalogue::BeginSearch(const QString& folder) {
  FinishSearch();
  m_strFolder = folder;
  m_pSearch = std::make_unique<CFolderSearch>(folder, ZoneBias());
  connect(m_pSearch.get(), &CFolderSearch::rowsFound, this, &CRecordingCatalogue::AppendRows, Qt::QueuedConnection);
  connect(m_pSearch.get(), &CFolderSearch::finished, this, &CRecordingCatalogue::OnSearchFinished,
          Qt::QueuedConnection);
  m_pSearch->Start();
}

bool CRecordingCatalogue::IsSearching() const { return m_pSearch && !m_pSearch->Finished(); }

void CRecordingCatalogue::OnSearchFinished() {
  // A finished search reported late, after a newer one started, must not end the newer one.
  if (m_pSearch && m_pSearch->Finished()) FinishSearch();
}

void CRecordingCatalogue::FinishSearch() {
  if (!m_pSearch) return;
  const std::unique_ptr<CFolderSearch> search = std::move(m_pSearch);
  search->Cancel();
  search->Wait();
  // Rows the worker sent that have not reached the list yet.
  QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
  SortByFileName(true);
  if (IsShowingTrips()) ReadTrips();  // the list may now show another card
  emit searchFinished();
}

void CRecordingCatalogue::AppendRows(std::vector<RecordingEntry> rows) {
  m_pModel->Append(std::move(rows));
  FitNumberColumns();
}

void CRecordingCatalogue::FitNumberColumns() {
  if (!m_pList || IsShowingTrips()) return;
  for (const int column : {kColumnDate, kColumnSize}) {
    // Every digit is as wide as every other, so the longest text is the widest.
    int longest = -1;
    std::size_t longestLength = 0;
    for (int row = 0; row < RowCount(); ++row) {
      const std::size_t length = ColumnText(m_pModel->Rows().At(row), column).size();
      if (length > longestLength) {
        longest = row;
        longestLength = length;
      }
    }
    const int fitting = longest < 0 ? 0 : m_pList->sizeHintForIndex(m_pModel->index(longest, column)).width();
    m_pList->header()->resizeSection(column, std::max(kColumnWidths[static_cast<std::size_t>(column)], fitting));
  }
}

void CRecordingCatalogue::OpenFiles() {
  const QStringList files = QFileDialog::getOpenFileNames(
      m_pWindow, {}, {}, QStringLiteral("Play Files (*.avi *.mp4 *.mov *.ts *.AVI *.MP4 *.MOV *.TS)"));
  if (files.isEmpty()) return;
  std::vector<std::string> paths;
  for (const QString& file : files) paths.push_back(QFile::encodeName(file).toStdString());
  AppendFiles(paths);
  SortByFileName(true);
}

void CRecordingCatalogue::AddPaths(const QStringList& paths) {
  std::vector<std::string> files;
  for (auto it = paths.rbegin(); it != paths.rend(); ++it) AddPath(*it, files);
  AppendFiles(files);
  SortByFileName(true);
}

void CRecordingCatalogue::AppendFiles(const std::vector<std::string>& paths) {
  const std::optional<int> zone = ZoneBias();
  // The front and rear file of one pair, both opened, are one row.
  std::set<std::string> rowPaths;
  std::vector<RecordingEntry> rows;
  for (const std::string& path : paths) {
    RecordingEntry row = MakeRecordingEntry(path, zone);
    if (rowPaths.insert(row.filePath).second) rows.push_back(std::move(row));
  }
  AppendRows(std::move(rows));
}

void CRecordingCatalogue::AddPath(const QString& path, std::vector<std::string>& files) {
  const std::optional<std::string> bytes = CheckedPath(path);
  if (!bytes) return;
  struct statx info {};
  if (!QueryRecordingFile(AT_FDCWD, bytes->c_str(), info)) return;
  if (S_ISDIR(info.stx_mode)) {
    SearchFolder(path);
  } else if (S_ISREG(info.stx_mode) && IsListedRecording(*bytes)) {
    files.push_back(*bytes);
  }
}

void CRecordingCatalogue::SortByFileName(bool ascending) { m_pModel->Sort(kColumnFileName, ascending); }

void CRecordingCatalogue::SortByColumnClick(int column) {
  if (!IsShowingTrips()) m_pModel->SortByColumnClick(column);
}

void CRecordingCatalogue::RemoveSelected() {
  if (!m_pList || IsShowingTrips()) return;
  std::vector<int> rows;
  for (const QModelIndex& index : m_pList->selectionModel()->selectedRows()) rows.push_back(index.row());
  m_pModel->Remove(std::move(rows));
  FitNumberColumns();
}

void CRecordingCatalogue::RemoveAll() {
  ShowTrips(false);
  m_pModel->RemoveAll();
  FitNumberColumns();
}

void CRecordingCatalogue::SelectAll() {
  if (m_pList) m_pList->selectAll();
}

int CRecordingCatalogue::RowCount() const { return m_pModel->Rows().Count(); }

QString CRecordingCatalogue::PathAt(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  return QString::fromStdU16String(m_pModel->Rows().At(row).path);
}

int CRecordingCatalogue::RowOfFile(const std::string& filePath) const {
  for (int row = 0; row < RowCount(); ++row) {
    const RecordingEntry& entry = m_pModel->Rows().At(row);
    if (entry.filePath == filePath || entry.partnerFilePath == filePath) return row;
  }
  return -1;
}

const RecordingEntry& CRecordingCatalogue::EntryAt(int row) const { return m_pModel->Rows().At(row); }

std::string CRecordingCatalogue::CardFolder() const {
  if (!m_strFolder.isEmpty()) return QFile::encodeName(m_strFolder).toStdString();
  if (RowCount() == 0) return {};
  const std::string& file = m_pModel->Rows().At(0).filePath;
  return file.substr(0, file.rfind('/'));
}

int CRecordingCatalogue::FirstSelectedRow() const {
  if (!m_pList) return -1;
  int first = -1;
  for (const QModelIndex& index : m_pList->selectionModel()->selectedRows()) {
    const int row = IsShowingTrips() ? RowOfFile(m_pTrips->RecordingAt(index)) : index.row();
    if (row >= 0 && (first < 0 || row < first)) first = row;
  }
  return first;
}

int CRecordingCatalogue::PlayingRow() const { return m_pModel->Rows().PlayingRow(); }

int CRecordingCatalogue::NextRow() const { return m_pModel->Rows().NextRow(); }

int CRecordingCatalogue::PreviousRow() const { return m_pModel->Rows().PreviousRow(); }

int CRecordingCatalogue::OpenFrom(int row, const OpenFile& open) {
  const int opened = m_pModel->OpenFrom(row, open);
  SelectOnly(opened);
  return opened;
}

int CRecordingCatalogue::OpenOnly(int row, const OpenFile& open) {
  const int opened = m_pModel->OpenOnly(row, open);
  SelectOnly(opened);
  return opened;
}

void CRecordingCatalogue::StandOn(int row) {
  m_pModel->SetPlayingRow(row);
  SelectOnly(PlayingRow());
}

bool CRecordingCatalogue::IsUnplayable(int row) const {
  return row >= 0 && row < RowCount() && m_pModel->Rows().At(row).unplayable;
}

void CRecordingCatalogue::SelectOnly(int row) {
  if (row < 0 || !m_pList) return;
  const QModelIndex index = ViewIndexOfRow(row);
  if (!index.isValid()) {
    m_pList->clearSelection();
    return;
  }
  m_pList->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  m_pList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
  m_pList->scrollTo(index);
}

void CRecordingCatalogue::ClearPlayingRow() { m_pModel->ClearPlayingRow(); }

}  // namespace vx
