// Off-screen drawing surface for one paint: everything is drawn into it and copied to the target at once.
#pragma once

#include <QPainter>
#include <QPixmap>
#include <QRect>

namespace vx {

class CCMemDC {
 public:
  // Covers rect of the target, addressed in the target's own coordinates.
  CCMemDC(QPainter& target, const QRect& rect);
  ~CCMemDC();
  CCMemDC(const CCMemDC&) = delete;
  CCMemDC& operator=(const CCMemDC&) = delete;

  QPainter& Painter() { return m_painter; }

 private:
  QPainter& m_target;
  QRect m_rect;
  QPixmap m_bitmap;
  QPainter m_painter;
};

}  // namespace vx
