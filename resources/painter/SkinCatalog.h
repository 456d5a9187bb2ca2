// Every skin picture of the program, by resource ID, painted at the size of the place it fills.
#pragma once

#include <QImage>

#include <vector>

namespace vx::skin {

struct SkinImage {
  int id;
  QImage image;
};

// Sorted by ID. The full-screen pieces are painted for a 1920 x 1080 screen.
std::vector<SkinImage> PaintSkinImages();

}  // namespace vx::skin
