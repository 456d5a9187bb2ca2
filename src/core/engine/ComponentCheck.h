// Which media components the viewer needs, and the answer of the start-up check when one is missing.
#pragma once

#include <functional>
#include <string>

namespace vx {

// The GStreamer element factories behind each outside component, in the order they are checked.
inline constexpr const char* kSourceElements[] = {"vxcamerasrc", "filesrc", "qtdemux", "avidemux", "queue"};
inline constexpr const char* kVideoDecoderElements[] = {"h264parse", "avdec_h264", "jpegdec", "videoconvert",
                                                         "appsink"};
inline constexpr const char* kAudioDecoderElements[] = {"aacparse", "avdec_aac"};
inline constexpr const char* kBrightnessElements[] = {"videobalance"};

// 1 when every component is there; otherwise the first missing one decides: -1 the camera source,
// -2 the video decoder, -3 the AAC decoder, -4 the brightness element.
int CheckComponentElements(const std::function<bool(const std::string& factory)>& available);

}  // namespace vx
