// Picture regions in plane samples: clamped, widened to the coarsest plane's grid, never empty.
#include "core/views/PictureRegion.h"

#include <algorithm>
#include <cmath>

namespace vx {

namespace {

struct Span {
  int begin;
  int end;
};

// The pixels [begin, end) of a picture `size` wide that `start` and `length` (fractions) cover, widened to
// multiples of 2^gridShift, at least one grid step, within the picture.
Span PixelSpan(double start, double length, int size, int gridShift) {
  const double first = std::clamp(start, 0.0, 1.0);
  const double last = std::clamp(start + length, first, 1.0);
  const int grid = 1 << gridShift;
  int begin = static_cast<int>(std::floor(first * size)) / grid * grid;
  int end = (static_cast<int>(std::ceil(last * size)) + grid - 1) / grid * grid;
  begin = std::min(begin, std::max(0, (size - 1) / grid * grid));
  end = std::clamp(end, begin + 1, std::max(size, 1));
  return {begin, end};
}

// The samples [begin, end) of a plane keeping one in 2^shift that cover the pixels of `pixels`.
Span InPlane(Span pixels, int shift) { return {pixels.begin >> shift, ((pixels.end - 1) >> shift) + 1}; }

}  // namespace

PlaneRect RegionInPlane(const PictureRegion& region, int pictureWidth, int pictureHeight, int shiftX, int shiftY,
                        int gridShiftX, int gridShiftY) {
  const Span across = InPlane(PixelSpan(region.x, region.width, pictureWidth, gridShiftX), shiftX);
  const Span down = InPlane(PixelSpan(region.y, region.height, pictureHeight, gridShiftY), shiftY);
  return {across.begin, down.begin, across.end - across.begin, down.end - down.begin};
}

}  // namespace vx
