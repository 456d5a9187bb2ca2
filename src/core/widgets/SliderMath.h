// Arithmetic of the skinned slider: thumb place from position, position from a mouse point, the key table.
#pragma once

#include <cstdint>

namespace vx {

// The slider treats its range as span = maximum + 1 - minimum positions, so a point or key may ask for
// maximum + 1; the slider's store then limits it to the maximum.
struct SliderRange {
  int minimum = 0;
  int maximum = 100;  // never below minimum
  std::int64_t Span() const { return std::int64_t{maximum} + 1 - minimum; }
  std::int64_t MaxPlusOne() const { return std::int64_t{maximum} + 1; }
  int Clamp(std::int64_t position) const;
};

struct SliderGeometry {
  int clientWidth = 0;
  int margin = 1;  // pixels kept free at both ends of the thumb's travel
  int thumbWidth = 0;
  // Pixels the thumb's left edge can travel; zero or less when the thumb does not fit.
  int Available() const { return clientWidth - 2 * margin - thumbWidth; }
};

// Left edge of the thumb for position; at the margin when the thumb does not fit.
int SliderThumbX(const SliderGeometry& geometry, const SliderRange& range, int position);

// Position asked for by a mouse point centred under the thumb, within [minimum, maximum + 1]; the minimum
// when the thumb does not fit.
std::int64_t SliderPositionFromPoint(const SliderGeometry& geometry, const SliderRange& range, int pointX);

enum class SliderKey { PageUp, PageDown, End, Home, Left, Right };

struct SliderKeyStep {
  std::int64_t position;  // within [minimum, maximum + 1]
  int code;               // the scroll code sent with it
};

SliderKeyStep SliderKeyMove(SliderKey key, const SliderRange& range, int position, int lineSize, int pageSize);

}  // namespace vx
