// The zoom of a video view: which part of the picture it shows, changed by the wheel and by dragging.
//
// Everything is in fractions: of the picture (0..1 across and down) for the part shown, of the view for
// the pointer. The view stretches that part over its whole area, so the same numbers hold whatever the
// sizes of the picture and the view.
#pragma once

#include <string>

#include "core/views/PictureRegion.h"

namespace vx {

class CViewZoom {
 public:
  static constexpr double kMaxFactor = 8.0;

  double Factor() const { return m_fFactor; }
  bool IsZoomed() const { return m_fFactor > 1.0; }
  // The part of the picture shown; always inside the picture, so the picture covers the whole view.
  PictureRegion Region() const { return m_region; }

  // Zooms by `notches` wheel notches (negative: out), four to a doubling, keeping the point of the
  // picture under the pointer (`atX`, `atY`: fractions of the view) where it is. The factor stays 1..8.
  void ZoomAt(double notches, double atX, double atY);
  // Moves the picture with a drag of `dx`, `dy` (fractions of the view): the point grabbed follows the pointer
  // until the picture's edge reaches the view's.
  void PanBy(double dx, double dy);
  void Reset();

  // The factor as the view shows it, e.g. "2.5×".
  std::string FactorText() const;

 private:
  void Clamp();

  double m_fFactor = 1.0;
  PictureRegion m_region;
};

}  // namespace vx
