// Arithmetic of the skinned slider: thumb place from position, position from a mouse point, the key table.
#include "core/widgets/SliderMath.h"

#include <algorithm>
#include <cmath>

#include "core/widgets/ScrollCodes.h"

namespace vx {

int SliderRange::Clamp(std::int64_t position) const {
  return static_cast<int>(std::clamp<std::int64_t>(position, minimum, maximum));
}

int SliderThumbX(const SliderGeometry& geometry, const SliderRange& range, int position) {
  const int avail = geometry.Available();
  if (avail <= 0) return geometry.margin;
  const double k = static_cast<double>(avail) / static_cast<double>(range.Span());
  return static_cast<int>(std::trunc(position * k - range.minimum * k)) + geometry.margin;
}

std::int64_t SliderPositionFromPoint(const SliderGeometry& geometry, const SliderRange& range, int pointX) {
  const int avail = geometry.Available();
  if (avail <= 0) return range.minimum;
  const int thumbX = pointX - geometry.thumbWidth / 2 - geometry.margin;
  const double scaled = std::trunc(static_cast<double>(range.Span()) / avail * thumbX) + range.minimum;
  const double limited = std::clamp(scaled, static_cast<double>(range.minimum), static_cast<double>(range.MaxPlusOne()));
  return static_cast<std::int64_t>(limited);
}

SliderKeyStep SliderKeyMove(SliderKey key, const SliderRange& range, int position, int lineSize, int pageSize) {
  const std::int64_t p = position;
  switch (key) {
    case SliderKey::PageUp: return {std::max<std::int64_t>(p - pageSize, range.minimum), TB_PAGEUP};
    case SliderKey::PageDown: return {std::min<std::int64_t>(p + pageSize, range.MaxPlusOne()), TB_PAGEDOWN};
    case SliderKey::End: return {range.MaxPlusOne(), TB_BOTTOM};
    case SliderKey::Home: return {range.minimum, TB_TOP};
    case SliderKey::Left: return {std::max<std::int64_t>(p - lineSize, range.minimum), TB_LINEUP};
    case SliderKey::Right: return {std::min<std::int64_t>(p + lineSize, range.MaxPlusOne()), TB_LINEDOWN};
  }
  return {p, TB_ENDTRACK};
}

}  // namespace vx
