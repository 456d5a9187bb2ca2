// Makes a window movable by pressing anywhere on its client area, as if its caption had been pressed.
#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace vx {

class CClientDrag : public QObject {
  Q_OBJECT

 public:
  // Watches `window` (a top-level widget) and moves it with the left mouse button.
  explicit CClientDrag(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* m_pWindow;
  bool m_bDragging = false;
  QPoint m_dragOffset;
};

}  // namespace vx
