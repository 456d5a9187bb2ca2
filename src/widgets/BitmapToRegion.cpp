// The shape of a skinned window: every pixel of a bitmap outside the key colour's range, as a region.
#include "widgets/BitmapToRegion.h"

#include <QRect>

#include <vector>

#include "core/widgets/RegionRuns.h"

namespace vx {

std::optional<QRegion> BitmapToRegion(const QImage& bitmap, std::uint32_t key) {
  if (bitmap.isNull()) return std::nullopt;
  const QImage pixels = bitmap.convertToFormat(QImage::Format_RGB32);
  const PixelView view{reinterpret_cast<const std::uint32_t*>(pixels.constBits()), pixels.width(), pixels.height(),
                       static_cast<std::size_t>(pixels.bytesPerLine()) / sizeof(std::uint32_t)};
  QRegion result;
  std::vector<QRect> rects;
  CollectRegionRuns(view, key, [&](std::span<const RegionRect> batch) {
    rects.clear();
    for (const RegionRect& run : batch) rects.emplace_back(QPoint(run.left, run.top), QPoint(run.right - 1, run.top));
    QRegion part;
    part.setRects(rects.data(), static_cast<int>(rects.size()));
    result |= part;
  });
  return result;
}

}  // namespace vx
