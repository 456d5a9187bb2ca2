// The settings dialog's clock thread: ten times a second the time in the selected zone, sent as text.
#pragma once

#include <QThread>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace vx {

class CZoneClock;

// Seconds since 1970 in UTC, read from the computer's clock.
std::int64_t SystemUtcSeconds();

class CClockThread : public QThread {
  Q_OBJECT

 public:
  static constexpr std::chrono::milliseconds kPeriod{100};

  // clock: the selected zone and the last moment, shared with the dialog; utcNow is called on this thread.
  CClockThread(CZoneClock& clock, std::function<std::int64_t()> utcNow, QObject* parent = nullptr);
  ~CClockThread() override;

  // Ends the thread without waiting for the rest of its period, and waits for it.
  void Stop();

 signals:
  // "YYYY-MM-DD, hh : mm : ss\r\n" in the zone offsetMinutes east of UTC, only when it sorts after the previous
  // text computed (so about once a second). Connected across threads, it arrives queued on the receiver's
  // thread, possibly after the zone changed: the offset tells which zone the text belongs to.
  void ClockText(const QString& text, int offsetMinutes);

 protected:
  void run() override;

 private:
  CZoneClock& m_clock;
  std::function<std::int64_t()> m_utcNow;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_bRunning = true;
};

}  // namespace vx
