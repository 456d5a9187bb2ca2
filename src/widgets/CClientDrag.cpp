// Client-area dragging: the window manager moves the window where it can (X11 and Wayland); elsewhere the
// window follows the mouse.
#include "widgets/CClientDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace vx {

CClientDrag::CClientDrag(QWidget* window) : QObject(window), m_pWindow(window) { window->installEventFilter(this); }

bool CClientDrag::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_pWindow) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return false;
      QWindow* handle = m_pWindow->windowHandle();
      if (handle && handle->startSystemMove()) return true;
      m_bDragging = true;
      m_dragOffset = mouse->globalPosition().toPoint() - m_pWindow->frameGeometry().topLeft();
      return true;
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (!m_bDragging || !(mouse->buttons() & Qt::LeftButton)) return false;
      m_pWindow->move(mouse->globalPosition().toPoint() - m_dragOffset);
      return true;
    }
    case QEvent::MouseButtonRelease:
      m_bDragging = false;
      return false;
    default:
      return false;
  }
}

}  // namespace vx
