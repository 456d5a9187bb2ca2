// Tests of moving a window by its client area: when a move starts, where it may start, and what ends it.
#include "widgets/CClientDrag.h"

#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace vx {
namespace {

// Stands in for the window system: counts the moves handed to it, or refuses them as a platform without
// one does.
class CCountingDrag : public CClientDrag {
 public:
  CCountingDrag(QWidget* window, bool systemMoves, std::function<bool(QPoint)> startsAt = {})
      : CClientDrag(window, std::move(startsAt)), m_bSystemMoves(systemMoves) {}
  int m_nSystemMoves = 0;

 protected:
  bool StartSystemMove() override {
    if (m_bSystemMoves) ++m_nSystemMoves;
    return m_bSystemMoves;
  }

 private:
  bool m_bSystemMoves;
};

class CClientDragTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_window.setGeometry(100, 100, 200, 150);
    m_window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
  }
  // A mouse event at a point of the window, with the buttons held after it.
  void Send(QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, m_window.mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&m_window, &event);
  }
  void Press(QPoint at) { Send(QEvent::MouseButtonPress, at, Qt::LeftButton); }
  void Release(QPoint at) { Send(QEvent::MouseButtonRelease, at, Qt::NoButton); }
  void Move(QPoint at, Qt::MouseButtons held) { Send(QEvent::MouseMove, at, held); }

  QWidget m_window;
};

// A quick tap hands nothing to the window system: a move started with the button already up would leave
// the window stuck to the pointer. Only a motion with the button held starts one, once.
TEST_F(CClientDragTest, TheWindowSystemMovesOnlyOnceThePointerMovesWithTheButtonHeld) {
  auto* drag = new CCountingDrag(&m_window, true);
  Press({20, 20});
  Release({20, 20});
  Move({40, 30}, Qt::NoButton);
  EXPECT_EQ(drag->m_nSystemMoves, 0) << "a tap";

  Press({20, 20});
  Move({21, 20}, Qt::LeftButton);
  Move({30, 25}, Qt::LeftButton);
  EXPECT_EQ(drag->m_nSystemMoves, 1);
  Release({30, 25});
}

TEST_F(CClientDragTest, WithoutTheWindowSystemTheWindowFollowsThePointerUntilReleased) {
  new CCountingDrag(&m_window, false);
  const QPoint start = m_window.pos();
  Press({20, 20});
  EXPECT_EQ(m_window.pos(), start) << "a press alone moves nothing";
  Move({50, 35}, Qt::LeftButton);
  EXPECT_EQ(m_window.pos(), start + QPoint(30, 15));
  Release({50, 35});
  const QPoint dropped = m_window.pos();
  Move({10, 10}, Qt::NoButton);
  EXPECT_EQ(m_window.pos(), dropped);
}

TEST_F(CClientDragTest, APressWhereTheWindowRefusesNeverMovesIt) {
  auto* drag = new CCountingDrag(&m_window, true, [](QPoint at) { return at.x() >= 100; });
  Press({20, 20});
  Move({60, 40}, Qt::LeftButton);
  Release({60, 40});
  EXPECT_EQ(drag->m_nSystemMoves, 0);
  Press({120, 20});
  Move({130, 40}, Qt::LeftButton);
  EXPECT_EQ(drag->m_nSystemMoves, 1);
}

}  // namespace
}  // namespace vx
