// Client-area dragging: the window manager moves the window where it can (X11 and Wayland); elsewhere the
// window follows the mouse.
#include "widgets/CClientDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace vx {

CClientDrag::CClientDrag(QWidget* window, std::function<bool(QPoint)> startsAt)
    : QObject(window), m_pWindow(window), m_startsAt(std::move(startsAt)) {
  window->installEventFilter(this);
}

bool CClientDrag::StartSystemMove() {
  QWindow* handle = m_pWindow->windowHandle();
  return handle && handle->startSystemMove();
}

// The move starts at the first motion with the button held, never at the press itself: a tap whose release
// comes before the window manager has taken the move would leave the window stuck to the pointer.
bool CClientDrag::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_pWindow) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return false;
      if (m_startsAt && !m_startsAt(mouse->position().toPoint())) return false;
      m_drag = Drag::Pressed;
      m_dragOffset = mouse->globalPosition().toPoint() - m_pWindow->frameGeometry().topLeft();
      return true;
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (!(mouse->buttons() & Qt::LeftButton)) m_drag = Drag::None;
      if (m_drag == Drag::Pressed) m_drag = StartSystemMove() ? Drag::None : Drag::Following;
      if (m_drag != Drag::Following) return false;
      m_pWindow->move(mouse->globalPosition().toPoint() - m_dragOffset);
      return true;
    }
    case QEvent::MouseButtonRelease:
      m_drag = Drag::None;
      return false;
    default:
      return false;
  }
}

}  // namespace vx
