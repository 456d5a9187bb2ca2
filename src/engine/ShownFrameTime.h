// The time in the recording and the length of a decoded picture, read from its sample.
#pragma once

#include <gst/gst.h>

#include <optional>

#include "core/player/FrameStep.h"

namespace vx {

// Stream time (the recording's own clock, edit-list offsets removed) and length of the sample's picture as it
// was in the stream, before a seek clipped it; nothing when the buffer has no timestamp or lies outside its
// segment.
std::optional<ShownFrame> ShownFrameOf(GstSample* sample);

}  // namespace vx
