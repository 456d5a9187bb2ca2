// The view neither erases its background nor draws anything but the renderer's picture, stretched.
#include "engine/CNrvVideoView.h"

#include <QPainter>

namespace vx {

CNrvVideoView::CNrvVideoView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
}

void CNrvVideoView::PresentFrame(const QImage& frame) {
  // Runs on a streaming thread: the picture moves to the view's thread; a pending call dies with the view.
  QMetaObject::invokeMethod(
      this,
      [this, frame] {
        m_frame = frame;
        update();
      },
      Qt::QueuedConnection);
}

void CNrvVideoView::paintEvent(QPaintEvent*) {
  if (m_frame.isNull()) return;
  QPainter painter(this);
  painter.drawImage(rect(), m_frame);
}

}  // namespace vx
