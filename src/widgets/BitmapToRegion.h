// The shape of a skinned window: every pixel of a bitmap outside the key colour's range, as a region.
#pragma once

#include <QImage>
#include <QRegion>

#include <cstdint>
#include <optional>

namespace vx {

// key is a colour value 0x00BBGGRR; each channel within [k, k + 16] of the key's channel is transparent.
// Nothing for a null bitmap; an empty region when every pixel is transparent.
std::optional<QRegion> BitmapToRegion(const QImage& bitmap, std::uint32_t key);

}  // namespace vx
