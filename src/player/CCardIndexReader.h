// Builds the index of a card on a worker thread; its progress and result arrive on the owner's thread.
#pragma once

#include <QObject>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>

#include "core/cardindex/CardIndex.h"
#include "core/cardindex/ViewerPreferences.h"

namespace vx {

class CCardIndexReader : public QObject {
  Q_OBJECT

 public:
  explicit CCardIndexReader(QObject* parent = nullptr);
  // Stops the reading and waits for the recording it is at.
  ~CCardIndexReader() override;

  // Reads the recordings below `cardFolder`, finding events with the thresholds of `preferences`. A reading
  // still running is stopped first: nothing more of it arrives.
  void Start(const std::string& cardFolder, const ViewerPreferences& preferences);
  // Asks the worker to end after the recording it is at; finished() still follows with what it read.
  void Stop();
  bool IsReading() const { return m_bReading; }
  const std::string& CardFolder() const { return m_strCardFolder; }
  // The preferences of the last reading started: its owner groups trips by their gap.
  const ViewerPreferences& Preferences() const { return m_preferences; }
  // The last finished reading's index.
  const CardIndex& Index() const { return m_index; }

 signals:
  void progress(std::size_t done, std::size_t total);
  void finished();

 private:
  void Join();
  void Read(std::uint64_t reading);

  ViewerPreferences m_preferences;
  std::string m_strCardFolder;
  CardIndex m_index;
  bool m_bReading = false;
  std::uint64_t m_nReading = 0;  // which Start the queued calls belong to
  std::atomic<bool> m_bStop{false};
  std::thread m_worker;
};

}  // namespace vx
