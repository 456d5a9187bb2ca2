// A rectangle in the main window's client pixels: left, top, width, height.
#pragma once

namespace vx {

struct LayoutRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

}  // namespace vx
