// A video view: a plain widget that shows its renderer's last picture and never paints on its own. The wheel
// zooms into the picture around the pointer (up to 8x), a drag moves the zoomed picture.
#pragma once

#include <QLabel>
#include <QWidget>
#include <optional>

#include "core/views/ViewZoom.h"
#include "engine/IVideoWindow.h"

namespace vx {

class CNrvVideoView final : public QWidget, public IVideoWindow {
  Q_OBJECT

 public:
  explicit CNrvVideoView(QWidget* parent = nullptr);

  void PresentFrame(const CVideoFrame& frame) override;
  void RepaintFrame() override { update(); }
  // The picture it shows (the renderer's last), null before the first.
  const CVideoFrame& Frame() const { return m_frame; }
  // Which part of the picture the view shows.
  const CViewZoom& Zoom() const { return m_zoom; }
  // Shows the whole picture again.
  void ResetZoom();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void ShowZoom();

  CVideoFrame m_frame;
  CFrameConverter m_converter;
  QImage m_shown;  // m_frame converted at the view's size (zoomed: at its own), until either changes
  CViewZoom m_zoom;
  QLabel* m_pZoomLabel;  // the factor, in a corner while zoomed
  std::optional<QPointF> m_dragFrom;  // where the drag moving a zoomed picture was last
};

}  // namespace vx
