// Buffer times converted through the sample's segment, lengths from the buffer or the caps' frame rate.
#include "engine/ShownFrameTime.h"

#include <gst/video/video.h>

namespace vx {

std::optional<ShownFrame> ShownFrameOf(GstSample* sample) {
  GstBuffer* buffer = sample ? gst_sample_get_buffer(sample) : nullptr;
  const GstSegment* segment = sample ? gst_sample_get_segment(sample) : nullptr;
  if (!buffer || !segment || !GST_BUFFER_PTS_IS_VALID(buffer)) return std::nullopt;
  const GstClockTime streamTime = gst_segment_to_stream_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
  if (!GST_CLOCK_TIME_IS_VALID(streamTime)) return std::nullopt;
  GstVideoInfo info;
  const bool known = gst_video_info_from_caps(&info, gst_sample_get_caps(sample));
  const int fpsN = known ? GST_VIDEO_INFO_FPS_N(&info) : 0;
  const int fpsD = known ? GST_VIDEO_INFO_FPS_D(&info) : 0;
  const GstClockTime length = GST_BUFFER_DURATION(buffer);
  const ShownFrame decoded{static_cast<std::int64_t>(streamTime),
                           FrameDurationNs(GST_CLOCK_TIME_IS_VALID(length) ? static_cast<std::int64_t>(length) : -1,
                                           fpsN, fpsD)};
  return UnclippedFrame(decoded, fpsN > 0 && fpsD > 0 ? FrameDurationNs(-1, fpsN, fpsD) : 0);
}

}  // namespace vx
