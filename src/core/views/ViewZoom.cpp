// Zoom around the pointer and panning, kept inside the picture.
#include "core/views/ViewZoom.h"

#include <algorithm>
#include <cmath>
#include <charconv>

namespace vx {
namespace {

constexpr double kNotchesPerDoubling = 4.0;

}  // namespace

void CViewZoom::ZoomAt(double notches, double atX, double atY) {
  double factor = std::clamp(m_fFactor * std::exp2(notches / kNotchesPerDoubling), 1.0, kMaxFactor);
  // Wheel notches multiply by irrational steps: zooming back out lands within rounding of 1, which is 1.
  if (factor < 1.0 + 1e-9) factor = 1.0;
  const double pictureX = m_region.x + atX * m_region.width;
  const double pictureY = m_region.y + atY * m_region.height;
  m_fFactor = factor;
  m_region.width = m_region.height = 1.0 / factor;
  m_region.x = pictureX - atX * m_region.width;
  m_region.y = pictureY - atY * m_region.height;
  Clamp();
}

void CViewZoom::PanBy(double dx, double dy) {
  m_region.x -= dx * m_region.width;
  m_region.y -= dy * m_region.height;
  Clamp();
}

void CViewZoom::Reset() {
  m_fFactor = 1.0;
  m_region = PictureRegion();
}

// Printed without the process locale, which the window sets from the environment ("2,5" in German).
std::string CViewZoom::FactorText() const {
  char text[16];
  const auto end = std::to_chars(text, text + sizeof text, m_fFactor, std::chars_format::fixed, 1).ptr;
  return std::string(text, end) + "\u00d7";
}

void CViewZoom::Clamp() {
  m_region.x = std::clamp(m_region.x, 0.0, 1.0 - m_region.width);
  m_region.y = std::clamp(m_region.y, 0.0, 1.0 - m_region.height);
}

}  // namespace vx
