// The events window: every event of a card in time order, read on a worker thread; a row plays its moment.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

#include "core/cardindex/CardIndex.h"
#include "core/cardindex/EventRows.h"
#include "player/CCardIndexReader.h"

namespace vx {

class CEventsDlg : public QWidget {
  Q_OBJECT

 public:
  // A top-level window owned by `owner`; it starts reading the recordings below `cardFolder` at once, finding
  // events with the thresholds of `preferences`, and deletes itself on close.
  CEventsDlg(const std::string& cardFolder, const ViewerPreferences& preferences, QWidget* owner);

  const std::string& CardFolder() const { return m_strCardFolder; }
  EventThresholds Thresholds() const { return m_reader.Preferences().Thresholds(); }
  QTreeWidget& Rows() { return *m_pRows; }
  QString StatusText() const { return m_pStatus->text(); }

 signals:
  // A row was chosen: play `recordingPath` from `positionMs`.
  void eventChosen(const std::string& recordingPath, std::uint32_t positionMs);
  // "Export…" for the chosen row's event at `eventUtcMs` of `recordingPath`; `chain` is its trip, or the
  // recording alone where it has none.
  void exportChosen(const std::vector<RecordingSummary>& chain, const std::string& recordingPath,
                    std::int64_t eventUtcMs);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowProgress(std::size_t done, std::size_t total);
  void ShowIndex(const CardIndex& index);
  void ChooseRow(const QModelIndex& index);
  void ExportRow();

  std::string m_strCardFolder;
  QLabel* m_pStatus = nullptr;
  QTreeWidget* m_pRows = nullptr;
  QPushButton* m_pExport = nullptr;
  std::vector<EventRow> m_rows;
  CCardIndexReader m_reader;  // a member, so that its worker ends before the window's parts go
};

}  // namespace vx
