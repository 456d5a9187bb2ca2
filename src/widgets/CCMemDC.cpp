// Off-screen drawing surface for one paint: everything is drawn into it and copied to the target at once.
#include "widgets/CCMemDC.h"

namespace vx {

CCMemDC::CCMemDC(QPainter& target, const QRect& rect) : m_target(target), m_rect(rect), m_bitmap(rect.size()) {
  m_painter.begin(&m_bitmap);
  m_painter.translate(-rect.topLeft());
}

CCMemDC::~CCMemDC() {
  m_painter.end();
  m_target.drawPixmap(m_rect.topLeft(), m_bitmap);
}

}  // namespace vx
