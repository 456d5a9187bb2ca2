// The view neither erases its background nor draws anything but the renderer's picture, stretched: the
// whole picture, or the part its zoom shows.
#include "engine/CNrvVideoView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace vx {

CNrvVideoView::CNrvVideoView(QWidget* parent) : QWidget(parent), m_pZoomLabel(new QLabel(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
  m_pZoomLabel->setObjectName(QStringLiteral("zoomFactor"));
  m_pZoomLabel->setStyleSheet(QStringLiteral("color: white; background: rgba(0, 0, 0, 140); padding: 1px 4px;"));
  m_pZoomLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
  m_pZoomLabel->move(4, 4);
  m_pZoomLabel->hide();
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

// Converts (colour and size in one pass) only the pictures that are painted. Unzoomed, at the view's own size;
// zoomed, the whole picture at its own size once, so that zooming and moving it only draw a part again.
void CNrvVideoView::paintEvent(QPaintEvent*) {
  if (m_frame.IsNull()) return;
  const QSize wanted = m_zoom.IsZoomed() ? m_frame.Size() : size();
  if (m_shown.size() != wanted) m_shown = m_converter.Convert(m_frame, wanted);
  const PictureRegion region = m_zoom.Region();
  const QRectF source(region.x * m_shown.width(), region.y * m_shown.height(), region.width * m_shown.width(),
                      region.height * m_shown.height());
  QPainter painter(this);
  // A zoomed part is enlarged: smoothed, its pixels read better than as blocks.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, m_zoom.IsZoomed());
  painter.drawImage(QRectF(rect()), m_shown, source);
}

void CNrvVideoView::wheelEvent(QWheelEvent* event) {
  if (m_frame.IsNull() || width() <= 0 || height() <= 0) {
    event->ignore();
    return;
  }
  const QPointF at = event->position();
  m_zoom.ZoomAt(event->angleDelta().y() / 120.0, at.x() / width(), at.y() / height());
  ShowZoom();
  event->accept();
}

// Only a zoomed picture takes the press: otherwise it goes on to the window, which moves with the drag.
void CNrvVideoView::mousePressEvent(QMouseEvent* event) {
  if (!m_zoom.IsZoomed() || event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  m_dragFrom = event->position();
  setCursor(Qt::ClosedHandCursor);
}

void CNrvVideoView::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragFrom) {
    event->ignore();
    return;
  }
  const QPointF moved = event->position() - *m_dragFrom;
  m_dragFrom = event->position();
  m_zoom.PanBy(moved.x() / width(), moved.y() / height());
  update();
}

void CNrvVideoView::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_dragFrom) {
    event->ignore();
    return;
  }
  m_dragFrom.reset();
  ShowZoom();
}

void CNrvVideoView::ResetZoom() {
  m_zoom.Reset();
  m_dragFrom.reset();
  ShowZoom();
}

void CNrvVideoView::ShowZoom() {
  m_pZoomLabel->setText(QString::fromStdString(m_zoom.FactorText()));
  m_pZoomLabel->adjustSize();
  m_pZoomLabel->setVisible(m_zoom.IsZoomed());
  if (m_zoom.IsZoomed()) setCursor(Qt::OpenHandCursor);
  else unsetCursor();
  update();
}

}  // namespace vx
