// The catalogue's rows as a Qt table model for the list view: five columns, the playing row in bold, rows
// that do not play struck out and dimmed, the full path (and why a row does not play) as each row's tooltip.
//
// Owned by the catalogue (CRecordingCatalogue); the window does not use it directly. Every change of the
// rows goes through here so that the view, its selection and the playing row stay in step.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "core/player/CatalogueRows.h"

namespace vx {

// Why a row is marked as not playing: its tooltip and the window's message say it.
QString UnplayableText();

class CRecordingListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  const CCatalogueRows& Rows() const { return m_rows; }
  void SetTitles(const std::array<QString, kColumnCount>& titles);

  void Append(std::vector<RecordingEntry> entries);
  // Sorts keeping each row's selection with the row.
  void Sort(int column, bool ascending);
  void SortByColumnClick(int column);
  // Removes the given rows (any order, duplicates allowed).
  void Remove(std::vector<int> rows);
  void RemoveAll();

  void ClearPlayingRow();
  void SetPlayingRow(int row);
  int OpenFrom(int row, const std::function<bool(const RecordingEntry&)>& open);
  int OpenOnly(int row, const std::function<bool(const RecordingEntry&)>& open);

 private:
  void ApplyOrder(const std::vector<int>& order);
  void PlayingRowChanged(int before);
  void AllRowsChanged();

  CCatalogueRows m_rows;
  std::array<QString, kColumnCount> m_titles;
};

}  // namespace vx
