// The region of a YUV picture scaled by libyuv to the view's size in 4:2:0, then turned into BGRx there.
#include "engine/CFrameScaler.h"

#include <libyuv/planar_functions.h>
#include <libyuv/scale.h>

#include <algorithm>
#include <array>

namespace vx {

namespace {

// Bilinear both ways, as GStreamer's videoscale would scale the same picture; libyuv's box filter looks
// softer and strays further from it at the rear view's uneven ratios.
constexpr libyuv::FilterMode kPlaneFilter = libyuv::kFilterBilinear;

// The samples of one plane that the region covers.
struct CPlaneRegion {
  const std::uint8_t* data;
  int stride;
  int width;
  int height;
};

// 8-bit YUV whose luma is one sample a byte and whose chroma is either planar or interleaved in one plane.
bool IsScalable(const GstVideoFormatInfo* info) {
  if (!GST_VIDEO_FORMAT_INFO_IS_YUV(info) || GST_VIDEO_FORMAT_INFO_IS_TILED(info) ||
      GST_VIDEO_FORMAT_INFO_IS_COMPLEX(info) || GST_VIDEO_FORMAT_INFO_N_COMPONENTS(info) < 3)
    return false;
  for (guint component = 0; component < 3; ++component)
    if (GST_VIDEO_FORMAT_INFO_DEPTH(info, component) != 8 || GST_VIDEO_FORMAT_INFO_SHIFT(info, component) != 0)
      return false;
  const int chromaStride = GST_VIDEO_FORMAT_INFO_PSTRIDE(info, 1);
  const bool semiPlanar = chromaStride == 2 && GST_VIDEO_FORMAT_INFO_PLANE(info, 1) == GST_VIDEO_FORMAT_INFO_PLANE(info, 2);
  return GST_VIDEO_FORMAT_INFO_PSTRIDE(info, 0) == 1 && GST_VIDEO_FORMAT_INFO_PSTRIDE(info, 2) == chromaStride &&
         (chromaStride == 1 || semiPlanar);
}

// The region in each of the frame's Y, U and V planes; every plane covers the same part of the picture.
std::array<CPlaneRegion, 3> RegionPlanes(GstVideoFrame* frame, const PictureRegion& region) {
  const GstVideoFormatInfo* info = frame->info.finfo;
  std::array<CPlaneRegion, 3> planes{};
  for (guint component = 0; component < 3; ++component) {
    const PlaneRect rect = RegionInPlane(region, GST_VIDEO_FRAME_WIDTH(frame), GST_VIDEO_FRAME_HEIGHT(frame),
                                         GST_VIDEO_FORMAT_INFO_W_SUB(info, component),
                                         GST_VIDEO_FORMAT_INFO_H_SUB(info, component),
                                         GST_VIDEO_FORMAT_INFO_W_SUB(info, 1), GST_VIDEO_FORMAT_INFO_H_SUB(info, 1));
    const int stride = GST_VIDEO_FRAME_COMP_STRIDE(frame, component);
    const auto* data = static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_COMP_DATA(frame, component));
    planes[component] = {data + rect.y * stride + rect.x * GST_VIDEO_FRAME_COMP_PSTRIDE(frame, component), stride,
                         rect.width, rect.height};
  }
  return planes;
}

// Copies interleaved chroma (NV12, NV21, NV16, NV24) apart into `chroma` and points U and V there.
void SplitChroma(std::array<CPlaneRegion, 3>& planes, std::vector<std::uint8_t>& chroma) {
  const CPlaneRegion u = planes[1];
  const CPlaneRegion v = planes[2];
  const auto samples = static_cast<std::size_t>(u.width) * static_cast<std::size_t>(u.height);
  chroma.resize(2 * samples);
  std::uint8_t* first = chroma.data();
  std::uint8_t* second = first + samples;
  libyuv::SplitUVPlane(std::min(u.data, v.data), u.stride, first, u.width, second, u.width, u.width, u.height);
  const bool uFirst = u.data < v.data;
  planes[1] = {uFirst ? first : second, u.width, u.width, u.height};
  planes[2] = {uFirst ? second : first, u.width, u.width, u.height};
}

}  // namespace

QImage CFrameScaler::Scale(const CVideoFrame& frame, const PictureRegion& region, QSize size, QImage reuse) {
  GstVideoInfo in;
  if (frame.IsNull() || size.isEmpty() || !gst_video_info_from_caps(&in, gst_sample_get_caps(frame.Sample())))
    return {};
  if (!IsScalable(in.finfo)) return m_converter.Convert(frame, size, region, std::move(reuse));
  GstVideoInfo scaled;
  if (!gst_video_info_set_format(&scaled, GST_VIDEO_FORMAT_I420, static_cast<guint>(size.width()),
                                 static_cast<guint>(size.height())))
    return {};
  // The scaled planes keep the picture's colours: the same matrix, range and chroma siting.
  GST_VIDEO_INFO_COLORIMETRY(&scaled) = GST_VIDEO_INFO_COLORIMETRY(&in);
  GST_VIDEO_INFO_CHROMA_SITE(&scaled) = GST_VIDEO_INFO_CHROMA_SITE(&in);
  m_scaled.resize(GST_VIDEO_INFO_SIZE(&scaled));
  {
    CMappedFrame source(&in, gst_sample_get_buffer(frame.Sample()), GST_MAP_READ);
    if (!source.Mapped()) return {};
    std::array<CPlaneRegion, 3> planes = RegionPlanes(source.Get(), region);
    if (GST_VIDEO_FRAME_COMP_PSTRIDE(source.Get(), 1) == 2) SplitChroma(planes, m_chroma);
    for (guint plane = 0; plane < 3; ++plane)
      libyuv::ScalePlane(planes[plane].data, planes[plane].stride, planes[plane].width, planes[plane].height,
                         m_scaled.data() + GST_VIDEO_INFO_PLANE_OFFSET(&scaled, plane),
                         GST_VIDEO_INFO_PLANE_STRIDE(&scaled, plane), GST_VIDEO_INFO_COMP_WIDTH(&scaled, plane),
                         GST_VIDEO_INFO_COMP_HEIGHT(&scaled, plane), kPlaneFilter);
  }
  // At equal sizes GStreamer's converter takes its SIMD path and gives exactly its own colours.
  GstPtr<GstBuffer> buffer = Adopt(gst_buffer_new_wrapped_full(GstMemoryFlags(GST_MEMORY_FLAG_READONLY), m_scaled.data(),
                                                               m_scaled.size(), 0, m_scaled.size(), nullptr, nullptr));
  return m_converter.Convert(scaled, buffer.get(), size, {}, std::move(reuse));
}

}  // namespace vx
