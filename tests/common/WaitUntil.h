// Runs the Qt event loop until a condition holds, with a deadline that only guards against a hang.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>

namespace vx::test {

// False when the condition still does not hold after 30 s.
inline bool WaitUntil(const std::function<bool()>& condition) {
  QDeadlineTimer deadline(30000);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

}  // namespace vx::test
