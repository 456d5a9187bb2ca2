// Table model over the catalogue rows.
#include "player/CRecordingListModel.h"

#include <QColor>
#include <QFont>
#include <algorithm>

namespace vx {
namespace {

// Darker than the list's text on its dark ground: the row is there, but out of play.
constexpr QRgb kUnplayableColor = qRgb(78, 78, 78);

}  // namespace

QString UnplayableText() { return QStringLiteral("Cannot be played: no playable stream, or the file cannot be read."); }

int CRecordingListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows.Count(); }

int CRecordingListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant CRecordingListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= m_rows.Count()) return {};
  const RecordingEntry& entry = m_rows.At(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdU16String(ColumnText(entry, index.column()));
    case Qt::ToolTipRole:
      // The whole path, whatever the narrow columns show of it, and why a row does not play.
      return QString::fromStdU16String(entry.path) +
             (entry.unplayable ? QStringLiteral("\n") + UnplayableText() : QString());
    case Qt::TextAlignmentRole:
      return index.column() == kColumnFileName ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    case Qt::ForegroundRole:
      return entry.unplayable ? QVariant(QColor(kUnplayableColor)) : QVariant();
    case Qt::FontRole: {
      const bool playing = index.row() == m_rows.PlayingRow();
      if (!playing && !entry.unplayable) return {};
      QFont font;
      font.setBold(playing);
      font.setItalic(entry.unplayable);
      font.setStrikeOut(entry.unplayable);
      return font;
    }
    default:
      return {};
  }
}

QVariant CRecordingListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
  if (role == Qt::DisplayRole) return m_titles[static_cast<std::size_t>(section)];
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
  return {};
}

void CRecordingListModel::SetTitles(const std::array<QString, kColumnCount>& titles) {
  m_titles = titles;
  emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

void CRecordingListModel::Append(std::vector<RecordingEntry> entries) {
  if (entries.empty()) return;
  const int first = m_rows.Count();
  beginInsertRows({}, first, first + static_cast<int>(entries.size()) - 1);
  for (RecordingEntry& entry : entries) m_rows.Append(std::move(entry));
  endInsertRows();
}

void CRecordingListModel::Sort(int column, bool ascending) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  ApplyOrder(m_rows.Sort(column, ascending));
}

void CRecordingListModel::SortByColumnClick(int column) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  ApplyOrder(m_rows.SortByColumnClick(column));
}

// Moves the persistent indexes (the view's selection and current row) with their rows.
void CRecordingListModel::ApplyOrder(const std::vector<int>& order) {
  std::vector<int> newRowOf(order.size());
  for (std::size_t newRow = 0; newRow < order.size(); ++newRow) {
    newRowOf[static_cast<std::size_t>(order[newRow])] = static_cast<int>(newRow);
  }
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& index : before) {
    after.append(this->index(newRowOf[static_cast<std::size_t>(index.row())], index.column()));
  }
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CRecordingListModel::Remove(std::vector<int> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  // From the bottom up, one run of neighbouring rows at a time.
  auto end = rows.end();
  while (end != rows.begin()) {
    auto first = end - 1;
    while (first != rows.begin() && *(first - 1) == *first - 1) --first;
    const int from = *first;
    const int count = static_cast<int>(end - first);
    if (from >= 0 && from + count <= m_rows.Count()) {
      beginRemoveRows({}, from, from + count - 1);
      m_rows.RemoveRows(from, count);
      endRemoveRows();
    }
    end = first;
  }
}

void CRecordingListModel::RemoveAll() {
  beginResetModel();
  m_rows.RemoveAll();
  endResetModel();
}

void CRecordingListModel::ClearPlayingRow() {
  const int before = m_rows.PlayingRow();
  m_rows.ClearPlayingRow();
  PlayingRowChanged(before);
}

int CRecordingListModel::OpenFrom(int row, const std::function<bool(const RecordingEntry&)>& open) {
  const int opened = m_rows.OpenFrom(row, open);
  AllRowsChanged();
  return opened;
}

int CRecordingListModel::OpenOnly(int row, const std::function<bool(const RecordingEntry&)>& open) {
  const int opened = m_rows.OpenOnly(row, open);
  AllRowsChanged();
  return opened;
}

void CRecordingListModel::SetPlayingRow(int row) {
  const int before = m_rows.PlayingRow();
  m_rows.SetPlayingRow(row);
  PlayingRowChanged(before);
}

void CRecordingListModel::PlayingRowChanged(int before) {
  for (const int row : {before, m_rows.PlayingRow()}) {
    if (row >= 0 && row < m_rows.Count()) emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
  }
}

// Opening marks every row it tries, wherever the rows stand after it.
void CRecordingListModel::AllRowsChanged() {
  if (m_rows.Count() > 0) emit dataChanged(index(0, 0), index(m_rows.Count() - 1, kColumnCount - 1));
}

}  // namespace vx

