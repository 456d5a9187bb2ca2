// A video view: a plain widget that shows its renderer's last picture and never paints on its own.
#pragma once

#include <QImage>
#include <QWidget>

#include "engine/IVideoWindow.h"

namespace vx {

class CNrvVideoView final : public QWidget, public IVideoWindow {
  Q_OBJECT

 public:
  explicit CNrvVideoView(QWidget* parent = nullptr);

  void PresentFrame(const QImage& frame) override;
  void RepaintFrame() override { update(); }
  // The picture it shows (the renderer's last), null before the first.
  QImage Frame() const { return m_frame; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage m_frame;
};

}  // namespace vx
