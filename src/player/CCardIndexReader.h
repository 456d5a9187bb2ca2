// Builds the index of a card on a worker thread; its progress and result arrive on the owner's thread.
#pragma once

#include <QObject>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>

#include "core/cardindex/CardIndex.h"
#include "core/cardindex/EventDetector.h"
#include "core/cardindex/Trips.h"

namespace vx {

class CCardIndexReader : public QObject {
  Q_OBJECT

 public:
  // What a reading finds events with, and what its owner groups trips by.
  struct Rules {
    EventThresholds events;
    TripRules trips;
  };

  explicit CCardIndexReader(Rules rules = {}, QObject* parent = nullptr);
  // Stops the reading and waits for the recording it is at.
  ~CCardIndexReader() override;

  // Reads the recordings below `cardFolder`. A reading still running is stopped first: nothing more of it
  // arrives.
  void Start(const std::string& cardFolder);
  // Asks the worker to end after the recording it is at; finished() still follows with what it read.
  void Stop();
  bool IsReading() const { return m_bReading; }
  const std::string& CardFolder() const { return m_strCardFolder; }
  const Rules& ReadingRules() const { return m_rules; }
  // The last finished reading's index.
  const CardIndex& Index() const { return m_index; }

 signals:
  void progress(std::size_t done, std::size_t total);
  void finished();

 private:
  void Join();
  void Read(std::uint64_t reading);

  Rules m_rules;
  std::string m_strCardFolder;
  CardIndex m_index;
  bool m_bReading = false;
  std::uint64_t m_nReading = 0;  // which Start the queued calls belong to
  std::atomic<bool> m_bStop{false};
  std::thread m_worker;
};

}  // namespace vx
