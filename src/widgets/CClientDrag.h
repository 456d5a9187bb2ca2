// Makes a window movable by pressing anywhere on its client area, as if its caption had been pressed.
#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class QWidget;

namespace vx {

class CClientDrag : public QObject {
  Q_OBJECT

 public:
  // Watches `window` (a top-level widget) and moves it with the left mouse button. `startsAt` tells whether
  // a press at a point (window coordinates) may move the window; every point may when it is empty.
  explicit CClientDrag(QWidget* window, std::function<bool(QPoint)> startsAt = {});

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Hands the move to the window system; false where it cannot take it.
  virtual bool StartSystemMove();

 private:
  enum class Drag { None, Pressed, Following };

  QWidget* m_pWindow;
  std::function<bool(QPoint)> m_startsAt;
  Drag m_drag = Drag::None;
  QPoint m_dragOffset;
};

}  // namespace vx
