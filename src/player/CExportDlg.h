// The export dialog: where to write, the rear picture's place, sound, original quality; then the export on a
// worker thread with its progress, time left and Cancel, and at the end what was written or what went wrong.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

#include "export/EvidenceExport.h"

namespace vx {

class CExportDlg : public QDialog {
  Q_OBJECT

 public:
  // Plans what to export; it runs on the worker, since it reads the recordings.
  using RequestMaker = std::function<ExportRequest()>;

  // `span` says what is exported ("10:15:05 to 10:15:25, 20 s"); `defaultPath` is the file offered.
  CExportDlg(const QString& span, const QString& defaultPath, RequestMaker makeRequest, QWidget* parent);
  ~CExportDlg() override;  // cancels a running export and waits for its worker

  QLineEdit& PathEdit() { return *m_pPath; }
  QComboBox& RearChoice() { return *m_pRear; }
  QCheckBox& SoundChoice() { return *m_pSound; }
  QCheckBox& CopyChoice() { return *m_pCopy; }
  QProgressBar& Progress() { return *m_pProgress; }
  QString ResultText() const { return m_pResult->text(); }
  bool IsRunning() const { return m_worker.joinable() && !m_report; }
  // The finished export's outcome; nothing while none has finished.
  const std::optional<ExportReport>& Report() const { return m_report; }

  // The Export button: starts the export with the chosen options. The Cancel button stops a running one.
  void StartExport();
  void CancelExport();
  // Escape, Cancel and the window's close button: a running export is cancelled, the dialog stays to say so;
  // otherwise it closes.
  void reject() override;

 signals:
  void exportFinished();

 private:
  void Browse();
  void ShowProgress(std::int64_t doneMs, std::int64_t totalMs);
  void ShowOutcome(const ExportReport& report);
  void JoinWorker();

  RequestMaker m_makeRequest;
  QLineEdit* m_pPath = nullptr;
  QPushButton* m_pBrowse = nullptr;
  QComboBox* m_pRear = nullptr;
  QCheckBox* m_pSound = nullptr;
  QCheckBox* m_pCopy = nullptr;
  QProgressBar* m_pProgress = nullptr;
  QLabel* m_pTimeLeft = nullptr;
  QLabel* m_pResult = nullptr;
  QPushButton* m_pExport = nullptr;
  QPushButton* m_pCancel = nullptr;
  QElapsedTimer m_elapsed;
  std::atomic<bool> m_bCancel{false};
  std::optional<ExportReport> m_report;
  std::thread m_worker;
};

}  // namespace vx
