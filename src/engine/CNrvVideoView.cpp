// The view neither erases its background nor draws anything but the renderer's picture, stretched.
#include "engine/CNrvVideoView.h"

#include <QPainter>

namespace vx {

CNrvVideoView::CNrvVideoView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
}

void CNrvVideoView::PresentFrame(const CVideoFrame& frame) {
  // Runs on a streaming thread: the picture moves to the view's thread; a pending call dies with the view.
  QMetaObject::invokeMethod(
      this,
      [this, frame] {
        m_frame = frame;
        m_shown = QImage();
        update();
      },
      Qt::QueuedConnection);
}

// Converts (colour and size in one pass) only the pictures that are painted, at the view's own size.
void CNrvVideoView::paintEvent(QPaintEvent*) {
  if (m_frame.IsNull()) return;
  if (m_shown.size() != size()) m_shown = m_converter.Convert(m_frame, size());
  QPainter painter(this);
  painter.drawImage(rect(), m_shown);
}

}  // namespace vx
