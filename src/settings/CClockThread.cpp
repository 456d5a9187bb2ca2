// The clock thread: tick, hand the text on when it moved forward, sleep a period or until stopped.
#include "settings/CClockThread.h"

#include "core/settings/ZoneClock.h"

namespace vx {

std::int64_t SystemUtcSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

CClockThread::CClockThread(CZoneClock& clock, std::function<std::int64_t()> utcNow, QObject* parent)
    : QThread(parent), m_clock(clock), m_utcNow(std::move(utcNow)) {}

CClockThread::~CClockThread() { Stop(); }

void CClockThread::Stop() {
  {
    const std::lock_guard lock(m_mutex);
    m_bRunning = false;
  }
  m_wake.notify_all();
  wait();
}

void CClockThread::run() {
  ClockTextGate gate;
  std::unique_lock lock(m_mutex);
  while (m_bRunning) {
    lock.unlock();
    const CZoneClock::Reading reading = m_clock.Tick(m_utcNow());
    if (gate.Pass(reading.text)) emit ClockText(QString::fromStdString(reading.text), reading.offsetMinutes);
    lock.lock();
    m_wake.wait_for(lock, kPeriod, [this] { return !m_bRunning; });
  }
}

}  // namespace vx
