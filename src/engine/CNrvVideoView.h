// A video view: a plain widget that shows its renderer's last picture and never paints on its own. The wheel
// zooms into the picture around the pointer (up to 8x), a drag moves the zoomed picture.
#pragma once

#include <QLabel>
#include <QWidget>
#include <mutex>
#include <optional>

#include "core/views/PictureRegion.h"
#include "core/views/ViewZoom.h"
#include "engine/CFrameScaler.h"
#include "engine/IVideoWindow.h"

namespace vx {

class CNrvVideoView final : public QWidget, public IVideoWindow {
  Q_OBJECT

 public:
  explicit CNrvVideoView(QWidget* parent = nullptr);

  // Scales the picture for the view on the calling streaming thread, so painting only copies pixels.
  void PresentFrame(const CVideoFrame& frame) override;
  void RepaintFrame() override { update(); }
  // The newest picture handed to it (the renderer's last), null before the first. The view shows it once
  // the window thread has taken its scaled pixels.
  CVideoFrame Frame() const;
  // Which part of the picture the view shows.
  const CViewZoom& Zoom() const { return m_zoom; }
  // Shows the whole picture again.
  void ResetZoom();

 signals:
  // A picture has just been painted into the view.
  void pictureShown();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // What the view shows: a region of the picture at a size in pixels (empty while hidden).
  struct CTarget {
    PictureRegion region;
    QSize size;
    friend bool operator==(const CTarget&, const CTarget&) = default;
  };

  // The part of the picture the view shows.
  PictureRegion ShownRegion() const { return m_zoom.Region(); }
  // Tells the streaming threads what to scale pictures to from now on (window thread).
  void PublishTarget();
  // Takes the newest picture and its scaled pixels from the streaming thread (window thread).
  void TakePending();
  // An image whose pixels the next scaling may write over: one the window no longer shows, or else the
  // waiting one, which the newer picture replaces (under m_mutex).
  QImage TakeReusableImage();
  // Shows the zoom's factor and cursor, and the part of the picture it now shows.
  void ShowZoom();

  // Shared with the streaming threads.
  mutable std::mutex m_mutex;
  CTarget m_target;
  // Only the newest picture is held: an older one would keep one more of the decoder's pictures alive.
  CVideoFrame m_frame;
  bool m_bPending = false;  // scaled pixels wait for the window thread in the two below
  QImage m_pendingImage;
  CTarget m_pendingTarget;
  QImage m_spareImage;  // the picture shown before m_shown, its pixels ready for the next one
  bool m_bTakePosted = false;
  CFrameScaler m_streamingScaler;  // used by one streaming thread at a time, under m_streamingMutex
  std::mutex m_streamingMutex;

  // The window thread's own.
  QImage m_shown;  // a picture scaled for m_shownTarget
  CTarget m_shownTarget;
  CFrameScaler m_scaler;
  CViewZoom m_zoom;
  QLabel* m_pZoomLabel;  // the factor, in a corner while zoomed
  std::optional<QPointF> m_dragFrom;  // where the drag moving a zoomed picture was last
};

}  // namespace vx
