// A video view: a plain widget that shows its renderer's last picture and never paints on its own.
#pragma once

#include <QWidget>

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

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CVideoFrame m_frame;
  CFrameConverter m_converter;
  QImage m_shown;  // m_frame converted at the view's size, until either changes
};

}  // namespace vx
