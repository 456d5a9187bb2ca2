// Reference-counted pictures and their conversion (colour and size in one pass) to 32-bit pixels.
#include "engine/CVideoFrame.h"

namespace vx {

namespace {

GstSample* RefSample(GstSample* sample) { return sample ? gst_sample_ref(sample) : nullptr; }

}  // namespace

CVideoFrame::CVideoFrame(GstSample* sample) : m_pSample(RefSample(sample)) {}

CVideoFrame::CVideoFrame(const CVideoFrame& other) : m_pSample(RefSample(other.m_pSample.get())) {}

CVideoFrame& CVideoFrame::operator=(const CVideoFrame& other) {
  if (this != &other) m_pSample.reset(RefSample(other.m_pSample.get()));
  return *this;
}

QSize CVideoFrame::Size() const {
  GstVideoInfo info;
  if (!m_pSample || !gst_video_info_from_caps(&info, gst_sample_get_caps(m_pSample.get()))) return {};
  return {GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info)};
}

QImage CFrameConverter::Convert(const CVideoFrame& frame, QSize size, const PictureRegion& region, QImage reuse) {
  GstVideoInfo in;
  if (frame.IsNull() || !gst_video_info_from_caps(&in, gst_sample_get_caps(frame.Sample()))) return {};
  return Convert(in, gst_sample_get_buffer(frame.Sample()), size, region, std::move(reuse));
}

QImage CFrameConverter::Convert(GstVideoInfo in, GstBuffer* buffer, QSize size, const PictureRegion& region,
                                QImage reuse) {
  if (size.isEmpty()) size = {GST_VIDEO_INFO_WIDTH(&in), GST_VIDEO_INFO_HEIGHT(&in)};
  GstVideoInfo out;
  gst_video_info_set_format(&out, GST_VIDEO_FORMAT_BGRx, static_cast<guint>(size.width()),
                            static_cast<guint>(size.height()));
  // The converter changes colour and size only; timing and layout must be those of the input.
  GST_VIDEO_INFO_FPS_N(&out) = GST_VIDEO_INFO_FPS_N(&in);
  GST_VIDEO_INFO_FPS_D(&out) = GST_VIDEO_INFO_FPS_D(&in);
  GST_VIDEO_INFO_INTERLACE_MODE(&out) = GST_VIDEO_INFO_INTERLACE_MODE(&in);
  if (!m_pConverter || size != m_size || !(region == m_region) || !gst_video_info_is_equal(&in, &m_in)) {
    // Whole chroma samples, or packed formats such as YUY2 would start between a pixel pair's colours.
    const PlaneRect source = RegionInPlane(region, GST_VIDEO_INFO_WIDTH(&in), GST_VIDEO_INFO_HEIGHT(&in), 0, 0,
                                           GST_VIDEO_FORMAT_INFO_W_SUB(in.finfo, 1),
                                           GST_VIDEO_FORMAT_INFO_H_SUB(in.finfo, 1));
    // Bilinear on one thread. The views scale most pictures with libyuv and come here at the view's size,
    // where nothing is scaled; only formats libyuv does not read are scaled here, and must look as good.
    GstStructure* options = gst_structure_new(
        "options", GST_VIDEO_CONVERTER_OPT_RESAMPLER_METHOD, GST_TYPE_VIDEO_RESAMPLER_METHOD,
        GST_VIDEO_RESAMPLER_METHOD_LINEAR, GST_VIDEO_CONVERTER_OPT_THREADS, G_TYPE_UINT, 1u,
        GST_VIDEO_CONVERTER_OPT_SRC_X, G_TYPE_INT, source.x, GST_VIDEO_CONVERTER_OPT_SRC_Y, G_TYPE_INT, source.y,
        GST_VIDEO_CONVERTER_OPT_SRC_WIDTH, G_TYPE_INT, source.width, GST_VIDEO_CONVERTER_OPT_SRC_HEIGHT, G_TYPE_INT,
        source.height, nullptr);
    m_pConverter.reset(gst_video_converter_new(&in, &out, options));
    m_in = in;
    m_size = size;
    m_region = region;
  }
  // A shared image is never written over: another holder may be showing it.
  QImage image = std::move(reuse);
  if (image.size() != size || image.format() != QImage::Format_RGB32 || !image.isDetached())
    image = QImage(size, QImage::Format_RGB32);
  if (!m_pConverter || image.isNull() || image.bytesPerLine() != GST_VIDEO_INFO_PLANE_STRIDE(&out, 0)) return {};
  GstPtr<GstBuffer> target = Adopt(gst_buffer_new_wrapped_full(GstMemoryFlags(0), image.bits(),
                                                               static_cast<gsize>(image.sizeInBytes()), 0,
                                                               static_cast<gsize>(image.sizeInBytes()), nullptr, nullptr));
  CMappedFrame source(&in, buffer, GST_MAP_READ);
  CMappedFrame destination(&out, target.get(), GST_MAP_WRITE);
  if (!source.Mapped() || !destination.Mapped()) return {};
  gst_video_converter_frame(m_pConverter.get(), source.Get(), destination.Get());
  return image;
}

}  // namespace vx
