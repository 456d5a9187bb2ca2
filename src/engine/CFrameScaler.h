// Turns the shown region of a decoded picture into the 32-bit pixels of a view, SIMD-scaled by libyuv.
#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <vector>

#include "core/views/PictureRegion.h"
#include "engine/CVideoFrame.h"

namespace vx {

// Scales each plane of the region to the 4:2:0 planes of the target size with libyuv (bilinear),
// then has GStreamer's converter turn those into pixels at that size in the picture's own
// colour matrix and range: colour work is done on the view's few pixels, not the decoder's many. 8-bit
// planar and semi-planar YUV go this way; any other format is converted and scaled by GStreamer alone, so
// every picture is shown. One instance per thread.
class CFrameScaler {
 public:
  // `region` of the picture at `size` (Format_RGB32, rows top-down); null when the frame cannot be read.
  // The pixels of `reuse` are written over when it fits (see CFrameConverter).
  QImage Scale(const CVideoFrame& frame, const PictureRegion& region, QSize size, QImage reuse = {});

 private:
  std::vector<std::uint8_t> m_scaled;  // the region as I420 at the view's size
  std::vector<std::uint8_t> m_chroma;  // de-interleaved chroma of a semi-planar region
  CFrameConverter m_converter;
};

}  // namespace vx
