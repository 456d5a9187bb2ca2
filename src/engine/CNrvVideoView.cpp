// The view neither erases its background nor draws anything but the renderer's picture, stretched: the
// whole picture, or the part its zoom shows.
#include "engine/CNrvVideoView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <utility>

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

void CNrvVideoView::PublishTarget() {
  const CTarget target{ShownRegion(), isVisible() ? size() : QSize()};
  std::lock_guard lock(m_mutex);
  m_target = target;
}

void CNrvVideoView::resizeEvent(QResizeEvent*) { PublishTarget(); }
void CNrvVideoView::showEvent(QShowEvent*) { PublishTarget(); }
void CNrvVideoView::hideEvent(QHideEvent*) { PublishTarget(); }

// Runs on a streaming thread. A hidden view only keeps the picture. The newest picture waits in one slot,
// so a busy window thread skips pictures instead of queueing them; a pending call dies with the view.
// Pictures are scaled into the pixels of one the window has let go of, so a view holds two images (the
// one shown and the next) and makes none while it plays.
void CNrvVideoView::PresentFrame(const CVideoFrame& frame) {
  CTarget target;
  QImage reusable;
  {
    std::lock_guard lock(m_mutex);
    m_frame = frame;
    target = m_target;
    if (!target.size.isEmpty()) reusable = TakeReusableImage();
  }
  QImage image;
  if (!target.size.isEmpty()) {
    std::lock_guard lock(m_streamingMutex);
    image = m_streamingScaler.Scale(frame, target.region, target.size, std::move(reusable));
  }
  std::lock_guard lock(m_mutex);
  if (m_bPending && m_spareImage.isNull()) m_spareImage = std::move(m_pendingImage);  // skipped, never shown
  m_bPending = true;
  m_pendingImage = std::move(image);
  m_pendingTarget = target;
  if (m_bTakePosted) return;
  m_bTakePosted = true;
  QMetaObject::invokeMethod(this, [this] { TakePending(); }, Qt::QueuedConnection);
}

QImage CNrvVideoView::TakeReusableImage() {
  if (!m_spareImage.isNull()) return std::exchange(m_spareImage, {});
  if (!m_bPending) return {};
  // The waiting picture is being replaced: it is no longer there to take meanwhile.
  m_bPending = false;
  return std::exchange(m_pendingImage, {});
}

void CNrvVideoView::TakePending() {
  {
    std::lock_guard lock(m_mutex);
    m_bTakePosted = false;
    if (!m_bPending) return;  // a newer picture is being scaled; its own call follows
    m_bPending = false;
    m_spareImage = std::exchange(m_shown, std::move(m_pendingImage));
    m_shownTarget = m_pendingTarget;
  }
  update();
}

CVideoFrame CNrvVideoView::Frame() const {
  std::lock_guard lock(m_mutex);
  return m_frame;
}

// Copies the pixels scaled on the streaming thread. When the view's size or region changed since, the newest
// picture is scaled once here, so the view never shows a blank or a stretched old picture.
void CNrvVideoView::paintEvent(QPaintEvent*) {
  const CTarget target{ShownRegion(), size()};
  if (m_shown.isNull() || !(m_shownTarget == target)) {
    const CVideoFrame frame = Frame();
    if (frame.IsNull()) return;
    m_shown = m_scaler.Scale(frame, target.region, target.size, std::move(m_shown));
    m_shownTarget = target;
  }
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), m_shown);
  emit pictureShown();
}

void CNrvVideoView::wheelEvent(QWheelEvent* event) {
  if (Frame().IsNull() || width() <= 0 || height() <= 0) {
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
  PublishTarget();
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
  PublishTarget();
  update();
}

}  // namespace vx
