// The part of a decoded picture a view shows, and where that part lies in the samples of each plane.
#pragma once

namespace vx {

// Fractions of the picture's width and height; the default is the whole picture.
struct PictureRegion {
  double x = 0;
  double y = 0;
  double width = 1;
  double height = 1;
  friend bool operator==(const PictureRegion&, const PictureRegion&) = default;
};

// A rectangle of samples in one plane.
struct PlaneRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PlaneRect&, const PlaneRect&) = default;
};

// The samples of `region` in a plane that keeps one sample in 2^shiftX across and 2^shiftY down of a
// picture of pictureWidth x pictureHeight. The region is first widened to whole samples of the coarsest
// plane (2^gridShiftX by 2^gridShiftY picture pixels), so that every plane covers the same part of the
// picture. The answer holds at least one sample and never reaches past the plane, whatever the region.
PlaneRect RegionInPlane(const PictureRegion& region, int pictureWidth, int pictureHeight, int shiftX, int shiftY,
                        int gridShiftX, int gridShiftY);

}  // namespace vx
