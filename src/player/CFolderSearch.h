// One search of a folder tree for recordings, on a worker thread of its own.
//
// The catalogue makes one CFolderSearch per search and owns it. The worker walks the tree depth first (not
// through links to folders), builds a row for each recording file (one for a front and rear pair) and hands
// the rows over in batches by the queued signal rowsFound; finished() follows the last batch. Cancel() stops
// the worker at its next entry; Wait() joins it. Each search has its own cancel flag, so stopping one never
// touches another, and the object's destruction cancels and joins its worker.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/player/CatalogueRows.h"

namespace vx {

class CFolderSearch : public QObject {
  Q_OBJECT

 public:
  // `zoneBias`: the settings record's zone in minutes, or empty for the computer's own offset.
  CFolderSearch(const QString& folder, std::optional<int> zoneBias);
  ~CFolderSearch() override;
  CFolderSearch(const CFolderSearch&) = delete;
  CFolderSearch& operator=(const CFolderSearch&) = delete;

  void Start();
  void Cancel();
  void Wait();
  // True once the worker has sent its last rows.
  bool Finished() const { return m_bFinished.load(); }
  // The path the worker is examining now.
  QString ExaminedPath() const;

 signals:
  void rowsFound(std::vector<vx::RecordingEntry> rows);
  void finished();

 private:
  void Run();
  // Reads the folder open as `dirFd` (closed here) whose path is `path`.
  void SearchDirectory(int dirFd, const std::string& path);
  void Examine(const std::string& path);
  // Adds the row of a recording file; `partnerPath`: its rear partner's path, or empty.
  void AddRecording(int dirFd, const char* name, const std::string& path, std::string partnerPath);
  void SendRows();

  const std::string m_strFolder;
  const std::optional<int> m_zoneBias;
  std::atomic<bool> m_bCancelled{false};
  std::atomic<bool> m_bFinished{false};
  std::thread m_worker;
  std::vector<RecordingEntry> m_batch;  // worker only
  mutable std::mutex m_examinedLock;
  std::string m_strExamined;
};

}  // namespace vx
