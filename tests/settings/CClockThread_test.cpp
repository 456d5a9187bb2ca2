// The clock thread: which texts it hands on and that they arrive on the GUI thread.
#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>

#include "TestTime.h"
#include "core/settings/ZoneClock.h"
#include "settings/CClockThread.h"

namespace vx::test {
namespace {

TEST(ClockThread, HandsOnOnlyTextsThatMoveForwardAndTheyArriveOnTheGuiThread) {
  const std::int64_t t = UtcSeconds(2024, 5, 1, 4, 5, 9);
  CZoneClock clock(540);
  std::atomic<int> calls{0};
  auto utcNow = [&]() -> std::int64_t { return calls++ < 2 ? t : t + 1; };  // read once a tick: t twice
  QStringList texts;
  bool onGuiThread = true;
  QObject receiver;
  CClockThread thread(clock, utcNow);
  QObject::connect(&thread, &CClockThread::ClockText, &receiver, [&](const QString& text, int) {
    texts << text;
    onGuiThread = onGuiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
  });
  thread.start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return calls >= 4; }, 10000));
  thread.Stop();
  QCoreApplication::processEvents();
  EXPECT_EQ(texts, QStringList({"2024-05-01, 13 : 05 : 09\r\n", "2024-05-01, 13 : 05 : 10\r\n"}));
  EXPECT_TRUE(onGuiThread);
  EXPECT_EQ(clock.Snapshot(), (ZoneTime{2024, 5, 1, 13, 5, 10}));
}

}  // namespace
}  // namespace vx::test
