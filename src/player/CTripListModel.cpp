// The trips tree model. A trip's index carries internal id 0, a recording's the number of its trip plus one.
#include "player/CTripListModel.h"

#include <QColor>
#include <QFile>

namespace vx {
namespace {

constexpr const char* kTitles[] = {"Trip", "Start", "End", "Time", "km"};
constexpr QRgb kUnreadableColor = 0xB05050;  // readable on the list's dark grey, apart from the plain rows

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

QString FileNameText(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }

}  // namespace

QModelIndex CTripListModel::index(int row, int column, const QModelIndex& parent) const {
  if (!hasIndex(row, column, parent)) return {};
  return createIndex(row, column, parent.isValid() ? static_cast<quintptr>(parent.row()) + 1 : 0);
}

QModelIndex CTripListModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == 0) return {};
  return createIndex(static_cast<int>(child.internalId() - 1), 0, quintptr{0});
}

int CTripListModel::rowCount(const QModelIndex& parent) const {
  if (!m_strStatus.isEmpty()) return parent.isValid() ? 0 : 1;
  if (!parent.isValid()) return static_cast<int>(m_trips.size());
  if (parent.internalId() != 0 || parent.column() != 0) return 0;
  return static_cast<int>(m_trips[static_cast<std::size_t>(parent.row())].recordings.size());
}

int CTripListModel::columnCount(const QModelIndex&) const { return kTripColumnCount; }

Qt::ItemFlags CTripListModel::flags(const QModelIndex& index) const {
  if (!m_strStatus.isEmpty()) return Qt::ItemIsEnabled;  // nothing to choose while the card is read
  return QAbstractItemModel::flags(index);
}

QVariant CTripListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kTripColumnCount) return {};
  return QString::fromUtf8(kTitles[section]);
}

const TripRecordingRow* CTripListModel::RecordingOf(const QModelIndex& index) const {
  if (!index.isValid() || index.internalId() == 0 || !m_strStatus.isEmpty()) return nullptr;
  return &m_trips[index.internalId() - 1].recordings[static_cast<std::size_t>(index.row())];
}

QVariant CTripListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (!m_strStatus.isEmpty()) return role == Qt::DisplayRole && index.column() == 0 ? QVariant(m_strStatus) : QVariant();
  const TripRecordingRow* recording = RecordingOf(index);
  switch (role) {
    case Qt::DisplayRole:
      return recording ? RecordingText(*recording, index.column())
                       : TripText(m_trips[static_cast<std::size_t>(index.row())], index.column());
    case Qt::ToolTipRole:
      if (!recording) return {};
      return recording->problem.empty() ? FileNameText(recording->path)
                                        : QStringLiteral("%1\n%2").arg(FileNameText(recording->path), Text(recording->problem));
    case Qt::ForegroundRole:
      return recording && !recording->problem.empty() ? QVariant(QColor(kUnreadableColor)) : QVariant();
    case Qt::TextAlignmentRole:
      return index.column() >= kTripColumnDuration ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
      return {};
  }
}

QVariant CTripListModel::TripText(const TripRow& trip, int column) const {
  switch (column) {
    case kTripColumnName: return Text(trip.date);
    case kTripColumnStart: return Text(trip.start);
    case kTripColumnEnd: return Text(trip.end);
    case kTripColumnDuration: return Text(trip.duration);
    case kTripColumnDistance: return Text(trip.distance);
    default: return {};
  }
}

QVariant CTripListModel::RecordingText(const TripRecordingRow& recording, int column) const {
  if (!recording.problem.empty()) {
    return column == kTripColumnName
               ? QVariant(QStringLiteral("%1: cannot be read: %2").arg(FileNameText(recording.name), Text(recording.problem)))
               : QVariant();
  }
  switch (column) {
    case kTripColumnName: return FileNameText(recording.name);
    case kTripColumnStart: return Text(recording.start);
    case kTripColumnEnd: return Text(recording.end);
    case kTripColumnDuration: return Text(recording.duration);
    case kTripColumnDistance: return Text(recording.distance);
    default: return {};
  }
}

void CTripListModel::ShowStatus(const QString& text) {
  // The row stays put while only its text changes, so that the view keeps its place.
  if (!m_strStatus.isEmpty() && !text.isEmpty()) {
    m_strStatus = text;
    emit dataChanged(index(0, 0), index(0, 0), {Qt::DisplayRole});
    return;
  }
  beginResetModel();
  m_strStatus = text;
  m_trips.clear();
  endResetModel();
}

void CTripListModel::SetTrips(std::vector<TripRow> trips) {
  beginResetModel();
  m_strStatus.clear();
  m_trips = std::move(trips);
  endResetModel();
}

std::string CTripListModel::RecordingAt(const QModelIndex& index) const {
  if (const TripRecordingRow* recording = RecordingOf(index)) return recording->path;
  if (!index.isValid() || !m_strStatus.isEmpty()) return {};
  const TripRow& trip = m_trips[static_cast<std::size_t>(index.row())];
  return trip.recordings.empty() ? std::string() : trip.recordings.front().path;
}

const TripRow* CTripListModel::TripAt(const QModelIndex& index) const {
  if (!index.isValid() || index.internalId() != 0 || !m_strStatus.isEmpty()) return nullptr;
  return &m_trips[static_cast<std::size_t>(index.row())];
}

QModelIndex CTripListModel::IndexOfRecording(const std::string& path) const {
  if (!m_strStatus.isEmpty()) return {};
  for (std::size_t t = 0; t < m_trips.size(); ++t) {
    const std::vector<TripRecordingRow>& recordings = m_trips[t].recordings;
    for (std::size_t r = 0; r < recordings.size(); ++r) {
      if (recordings[r].path == path) return createIndex(static_cast<int>(r), 0, static_cast<quintptr>(t) + 1);
    }
  }
  return {};
}

std::vector<QModelIndex> CTripListModel::WholeWidthRows() const {
  if (!m_strStatus.isEmpty()) return {index(0, 0)};
  std::vector<QModelIndex> rows;
  for (std::size_t t = 0; t < m_trips.size(); ++t) {
    const std::vector<TripRecordingRow>& recordings = m_trips[t].recordings;
    for (std::size_t r = 0; r < recordings.size(); ++r) {
      if (!recordings[r].problem.empty()) rows.push_back(createIndex(static_cast<int>(r), 0, static_cast<quintptr>(t) + 1));
    }
  }
  return rows;
}

}  // namespace vx
