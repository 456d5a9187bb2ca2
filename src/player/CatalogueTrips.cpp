// The catalogue's trips view: the same list view showing the trips model, read from the card index of the
// listed card; the flat model and its column layout come back when the view is left.
#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTreeView>

#include "core/cardindex/TripRows.h"
#include "player/CCardIndexReader.h"
#include "player/CRecordingCatalogue.h"
#include "player/CRecordingListModel.h"
#include "player/CTripListModel.h"

namespace vx {
namespace {

constexpr int kTripIndentation = 12;  // the list is narrow: room for the names rather than the tree

}  // namespace

bool CRecordingCatalogue::IsShowingTrips() const { return m_pList && m_pList->model() == m_pTrips; }

void CRecordingCatalogue::ShowTrips(bool shown) {
  if (m_pTripsAction) m_pTripsAction->setChecked(shown);
  if (!m_pList || shown == IsShowingTrips()) return;
  if (shown) {
    SetListModel(m_pTrips);
    ApplyTripColumns();
    ReadTrips();
    return;
  }
  m_pTripsReader->Stop();
  m_pList->resetIndentation();
  SetListModel(m_pModel);
  ApplyListColumns();
  FitNumberColumns();
  SelectOnly(PlayingRow());
}

void CRecordingCatalogue::SetPreferences(const ViewerPreferences& preferences) {
  const bool readAgain = !ReadsCardAlike(preferences, m_preferences);
  m_preferences = preferences;
  if (readAgain && IsShowingTrips()) ReadTrips();
}

void CRecordingCatalogue::SetListModel(QAbstractItemModel* model) {
  // The view makes a selection model for each model it is given and leaves the old one to its owner.
  QItemSelectionModel* old = m_pList->selectionModel();
  m_pList->setModel(model);
  delete old;
}

// The figures keep their whole width; the name column takes the rest, and a file name too long for it keeps
// its end, where the time and the number that tell recordings of one trip apart are.
void CRecordingCatalogue::ApplyTripColumns() {
  m_pList->setRootIsDecorated(true);
  m_pList->setItemsExpandable(true);
  m_pList->setTextElideMode(Qt::ElideLeft);
  m_pList->setIndentation(kTripIndentation);
  QHeaderView* header = m_pList->header();
  header->setSectionResizeMode(CTripListModel::kTripColumnName, QHeaderView::Stretch);
  for (int column = 0; column < CTripListModel::kTripColumnCount; ++column) {
    m_pList->setColumnHidden(column, false);
    if (column != CTripListModel::kTripColumnName) header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
}

void CRecordingCatalogue::ReadTrips() {
  const std::string folder = CardFolder();
  m_pTrips->ShowStatus(folder.empty() ? QStringLiteral("No recordings listed")
                                      : QStringLiteral("Looking for recordings\u2026"));
  SpanWholeWidthRows();
  if (!folder.empty()) m_pTripsReader->Start(folder, m_preferences);
}

void CRecordingCatalogue::ShowTripsRead() {
  const CardIndex& index = m_pTripsReader->Index();
  if (index.summaries.empty()) {
    m_pTrips->ShowStatus(QStringLiteral("No recordings on the card"));
  } else {
    m_pTrips->SetTrips(
        MakeTripRows(index.summaries, m_pTripsReader->Preferences().Trips(), CardDateTimeText(index.summaries)));
  }
  SpanWholeWidthRows();
  if (IsShowingTrips()) SelectOnly(PlayingRow());
}

// A view forgets its spans whenever its model is reset.
void CRecordingCatalogue::SpanWholeWidthRows() {
  if (!IsShowingTrips()) return;
  for (const QModelIndex& index : m_pTrips->WholeWidthRows()) {
    m_pList->setFirstColumnSpanned(index.row(), index.parent(), true);
  }
}

QModelIndex CRecordingCatalogue::ViewIndexOfRow(int row) const {
  if (!IsShowingTrips()) return m_pModel->index(row, 0);
  if (row < 0 || row >= RowCount()) return {};
  return m_pTrips->IndexOfRecording(m_pModel->Rows().At(row).filePath);
}

}  // namespace vx
