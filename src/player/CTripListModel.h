// The trips view of the recording list as a Qt tree model: a row per trip, its recordings as children; or,
// while the card is being read, one row that says how far the reading is.
#pragma once

#include <QAbstractItemModel>
#include <QString>

#include <string>
#include <vector>

#include "core/cardindex/TripRows.h"

namespace vx {

class CTripListModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  // A trip's row shows its date first; a recording's row its file name.
  enum Column { kTripColumnName, kTripColumnStart, kTripColumnEnd, kTripColumnDuration, kTripColumnDistance };
  static constexpr int kTripColumnCount = kTripColumnDistance + 1;

  using QAbstractItemModel::QAbstractItemModel;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // One row with `text` in place of the trips.
  void ShowStatus(const QString& text);
  void SetTrips(std::vector<TripRow> trips);
  const std::vector<TripRow>& Trips() const { return m_trips; }

  // The file a row plays: a recording's own, a trip's first; empty for the status row.
  std::string RecordingAt(const QModelIndex& index) const;
  // The trip of a trip's row; null for a recording's row and the status row.
  const TripRow* TripAt(const QModelIndex& index) const;
  // The row of the recording `path` under its trip; invalid when no trip holds it.
  QModelIndex IndexOfRecording(const std::string& path) const;
  // Rows whose one text runs across every column: the status row and recordings that cannot be read.
  std::vector<QModelIndex> WholeWidthRows() const;

 private:
  const TripRecordingRow* RecordingOf(const QModelIndex& index) const;
  QVariant TripText(const TripRow& trip, int column) const;
  QVariant RecordingText(const TripRecordingRow& recording, int column) const;

  std::vector<TripRow> m_trips;
  QString m_strStatus;  // shown instead of the trips when not empty
};

}  // namespace vx
