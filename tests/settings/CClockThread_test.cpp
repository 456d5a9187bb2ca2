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
  // Each tick reads the clock once: the same second twice, then the user picks a zone further west (UTC) as
  // the next second comes, then time goes on.
  auto utcNow = [&]() -> std::int64_t {
    const int call = calls++;
    if (call == 2) clock.SetOffsetMinutes(0);
    const std::int64_t steps[] = {t, t, t + 1, t + 2};
    return steps[std::min(call, 3)];
  };
  QStringList texts;
  bool onGuiThread = true;
  QObject receiver;
  CClockThread thread(clock, utcNow);
  QObject::connect(&thread, &CClockThread::ClockText, &receiver, [&](const QString& text, int) {
    texts << text;
    onGuiThread = onGuiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
  });
  thread.start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return calls >= 6; }, 10000));
  thread.Stop();
  QCoreApplication::processEvents();
  EXPECT_EQ(texts, QStringList({"2024-05-01, 13 : 05 : 09\r\n", "2024-05-01, 04 : 05 : 11\r\n"}))
      << "the first text of the western zone sorts before the last one sent and is left out";
  EXPECT_TRUE(onGuiThread);
  EXPECT_EQ(clock.Snapshot(), (ZoneTime{2024, 5, 1, 4, 5, 11}));
}

}  // namespace
}  // namespace vx::test
