// One decoded picture as the renderer received it, and its conversion to 32-bit pixels at any size.
#pragma once

#include <gst/gst.h>
#include <gst/video/video.h>

#include <QImage>
#include <QSize>

#include "core/views/PictureRegion.h"
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

// A video frame mapped for as long as it lives.
class CMappedFrame {
 public:
  CMappedFrame(GstVideoInfo* info, GstBuffer* buffer, GstMapFlags flags)
      : m_bMapped(buffer && gst_video_frame_map(&m_frame, info, buffer, flags)) {}
  ~CMappedFrame() {
    if (m_bMapped) gst_video_frame_unmap(&m_frame);
  }
  CMappedFrame(const CMappedFrame&) = delete;
  CMappedFrame& operator=(const CMappedFrame&) = delete;
  bool Mapped() const { return m_bMapped; }
  GstVideoFrame* Get() { return &m_frame; }

 private:
  GstVideoFrame m_frame{};
  bool m_bMapped;
};

// Converts frames of any raw format to BGRx images (QImage::Format_RGB32, rows top-down), scaling
// bilinearly on the way; keeps its converter while the input format, region and output size stay the same.
// An image handed in as `reuse` is written over when it has the output's size and nothing else holds it, so
// a stream of pictures needs no new image each; otherwise it is let go and a new one is made.
class CFrameConverter {
 public:
  // `region` of the picture at `size`, or the whole picture at its own size when `size` is empty; null
  // when it cannot be read.
  QImage Convert(const CVideoFrame& frame, QSize size = {}, const PictureRegion& region = {}, QImage reuse = {});
  // The same for a picture laid out as `in` describes.
  QImage Convert(GstVideoInfo in, GstBuffer* buffer, QSize size, const PictureRegion& region, QImage reuse = {});

 private:
  GstPtr<GstVideoConverter> m_pConverter;
  GstVideoInfo m_in{};
  QSize m_size;
  PictureRegion m_region;
};

}  // namespace vx
