// The events window: every event of a card in time order, read on a worker thread; a row plays its moment.
#pragma once

#include <QLabel>
#include <QTreeWidget>
#include <QWidget>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "core/cardindex/CardIndex.h"
#include "core/cardindex/EventRows.h"

namespace vx {

class CEventsDlg : public QWidget {
  Q_OBJECT

 public:
  // A top-level window owned by `owner`; it starts reading the recordings below `cardFolder` at once, finding
  // events with `thresholds`, and deletes itself on close.
  CEventsDlg(const std::string& cardFolder, const EventThresholds& thresholds, QWidget* owner);
  ~CEventsDlg() override;

  const std::string& CardFolder() const { return m_strCardFolder; }
  const EventThresholds& Thresholds() const { return m_thresholds; }
  QTreeWidget& Rows() { return *m_pRows; }
  QString StatusText() const { return m_pStatus->text(); }

 signals:
  // A row was chosen: play `recordingPath` from `positionMs`.
  void eventChosen(const std::string& recordingPath, std::uint32_t positionMs);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ReadCard();
  void ShowProgress(std::size_t done, std::size_t total);
  void ShowIndex(const CardIndex& index);
  void ChooseRow(const QModelIndex& index);
  void StopReading();

  std::string m_strCardFolder;
  EventThresholds m_thresholds;
  QLabel* m_pStatus = nullptr;
  QTreeWidget* m_pRows = nullptr;
  std::vector<EventRow> m_rows;
  std::atomic<bool> m_bStop{false};
  std::thread m_worker;
};

}  // namespace vx
