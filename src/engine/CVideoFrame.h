// One decoded picture as the renderer received it, and its conversion to 32-bit pixels at any size.
#pragma once

#include <gst/gst.h>
#include <gst/video/video.h>

#include <QImage>
#include <QSize>

#include "engine/GstPtr.h"

namespace vx {

template <>
constexpr auto kUnref<GstVideoConverter> = &gst_video_converter_free;

// Shares the decoder's buffer; copying a frame copies a reference, never the pixels.
class CVideoFrame {
 public:
  CVideoFrame() = default;
  explicit CVideoFrame(GstSample* sample);
  CVideoFrame(const CVideoFrame& other);
  CVideoFrame& operator=(const CVideoFrame& other);
  CVideoFrame(CVideoFrame&&) noexcept = default;
  CVideoFrame& operator=(CVideoFrame&&) noexcept = default;

  bool IsNull() const { return !m_pSample; }
  QSize Size() const;
  GstSample* Sample() const { return m_pSample.get(); }

 private:
  GstPtr<GstSample> m_pSample;
};

// Converts frames to BGRx images (QImage::Format_RGB32, rows top-down), scaling on the way; keeps its
// converter while the input format and the output size stay the same.
class CFrameConverter {
 public:
  // The picture at `size`, or at its own size when `size` is empty; null when it cannot be read.
  QImage Convert(const CVideoFrame& frame, QSize size = {});

 private:
  GstPtr<GstVideoConverter> m_pConverter;
  GstVideoInfo m_in{};
  QSize m_size;
};

}  // namespace vx
