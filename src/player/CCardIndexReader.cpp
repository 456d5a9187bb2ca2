// The card index reader: one worker at a time, whose calls are queued to this object and dropped when they
// belong to a reading that was replaced, or when this object is gone (it outlives the worker).
#include "player/CCardIndexReader.h"

#include "core/cardindex/CardIndexCache.h"
#include "core/cardindex/CardRecordings.h"
#include "core/cardindex/RecordingSummaries.h"

namespace vx {

CCardIndexReader::CCardIndexReader(QObject* parent) : QObject(parent) {}

CCardIndexReader::~CCardIndexReader() {
  Stop();
  Join();
}

void CCardIndexReader::Stop() { m_bStop = true; }

void CCardIndexReader::Join() {
  if (m_worker.joinable()) m_worker.join();
}

void CCardIndexReader::Start(const std::string& cardFolder, const ViewerPreferences& preferences) {
  Stop();
  Join();
  m_preferences = preferences;
  m_bStop = false;
  m_strCardFolder = cardFolder;
  m_bReading = true;
  m_worker = std::thread(&CCardIndexReader::Read, this, ++m_nReading);
}

// On the worker: the walk of the card is part of the work, as it can take long on a large card.
void CCardIndexReader::Read(std::uint64_t reading) {
  CardIndexJob job;
  job.cacheFile = CardIndexCacheFile();
  job.cardFolder = m_strCardFolder;
  job.recordings = RecordingsBelow(m_strCardFolder);
  job.thresholds = m_preferences.Thresholds();
  job.summarize = [thresholds = job.thresholds](const std::string& path) {
    return SummarizeRecording(path, thresholds);
  };
  job.progress = [this, reading](std::size_t done, std::size_t total) {
    QMetaObject::invokeMethod(
        this, [this, reading, done, total] { if (reading == m_nReading) emit progress(done, total); },
        Qt::QueuedConnection);
  };
  job.stop = &m_bStop;
  CardIndex index = BuildCardIndex(job);
  QMetaObject::invokeMethod(
      this,
      [this, reading, index = std::move(index)]() mutable {
        if (reading != m_nReading) return;
        m_index = std::move(index);
        m_bReading = false;
        emit finished();
      },
      Qt::QueuedConnection);
}

}  // namespace vx
