// Tests of moving a window by its client area: when the window system is handed the move.
#include "widgets/CClientDrag.h"

#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace vx {
namespace {

// Stands in for the window system: counts the moves handed to it.
class CCountingDrag : public CClientDrag {
 public:
  using CClientDrag::CClientDrag;
  int m_nSystemMoves = 0;

 protected:
  bool StartSystemMove() override { return ++m_nSystemMoves > 0; }  // taken by the window system
};

// A quick tap hands nothing to the window system: a move started with the button already up leaves the
// window stuck to the pointer. A motion with the button held starts one, once; a refused point never does.
TEST(CClientDrag, TheWindowSystemMovesOnlyOnceThePointerMovesWithTheButtonHeld) {
  QWidget window;
  window.setGeometry(100, 100, 200, 150);
  auto* drag = new CCountingDrag(&window, [](QPoint at) { return at.x() < 100; });
  const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, window.mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
  };
  send(QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, {20, 20}, Qt::NoButton);
  send(QEvent::MouseMove, {40, 30}, Qt::NoButton);
  EXPECT_EQ(drag->m_nSystemMoves, 0) << "a tap";

  send(QEvent::MouseButtonPress, {120, 20}, Qt::LeftButton);
  send(QEvent::MouseMove, {130, 30}, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, {130, 30}, Qt::NoButton);
  EXPECT_EQ(drag->m_nSystemMoves, 0) << "a press where the window refuses";

  send(QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton);
  send(QEvent::MouseMove, {21, 20}, Qt::LeftButton);
  send(QEvent::MouseMove, {30, 25}, Qt::LeftButton);
  EXPECT_EQ(drag->m_nSystemMoves, 1);
}

}  // namespace
}  // namespace vx
