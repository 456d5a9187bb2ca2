// Makes a skin picture safe for its key colour: exact key outside the shape, no key-range pixel inside it.
#include "KeySeal.h"

#include <algorithm>

#include "Palette.h"
#include "core/widgets/RegionRuns.h"

namespace vx::skin {
namespace {

// Moves the first channel of pixel that lies in the key's range to just outside that range.
QRgb OutOfKeyRange(QRgb pixel, std::uint32_t key) {
  int channels[3] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
  for (int i = 0; i < 3; ++i) {
    const int k = static_cast<int>((key >> (8 * i)) & 0xFF);
    if (channels[i] < k || channels[i] > std::min(k + 16, 255)) continue;
    channels[i] = k + 17 <= 255 ? k + 17 : k - 1;
    break;
  }
  return qRgb(channels[0], channels[1], channels[2]);
}

}  // namespace

void SealKeyColour(QImage& image, const QPainterPath& shape, std::uint32_t key) {
  const QRgb keyPixel = KeyColour(key).rgb();
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (!shape.contains(QPointF(x + 0.5, y + 0.5))) row[x] = keyPixel;
      else if (IsKeyColour(row[x], key)) row[x] = OutOfKeyRange(row[x], key);
    }
  }
}

}  // namespace vx::skin
