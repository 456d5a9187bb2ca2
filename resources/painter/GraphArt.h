// Pictures of the acceleration graph window and of the skinned slider, drawn to their exact descriptions.
#pragma once

#include <QImage>

namespace vx::skin {

QImage PaintGraphBackground();         // 515 x 225: black, axis texts, legend
QImage PaintPlotBackground();          // 461 x 160: near-black with the grid
QImage PaintGraphClose(bool hot);      // 43 x 18: red rounded button with a white X, magenta corners
QImage PaintSliderChannel();           // 1 x 7
QImage PaintSliderThumb();             // 15 x 7

}  // namespace vx::skin
