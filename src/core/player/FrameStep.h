// Where a step of one frame forward or back goes, from the time and length of the picture shown.
#pragma once

#include <cstdint>
#include <optional>

namespace vx {

// The picture on show: its time in the recording (stream time) and how long it stays, in nanoseconds.
struct ShownFrame {
  std::int64_t timeNs = 0;
  std::int64_t durationNs = 0;
};

// How long a picture stays: the buffer's own duration where it has one (> 0), else one period of the stream's
// frame rate `fpsN`/`fpsD`, else 1/30 s, the camera's rate.
std::int64_t FrameDurationNs(std::int64_t bufferDurationNs, int fpsN, int fpsD);

// The picture a decoder hands out, as it was in the stream. After an accurate seek into a picture the decoder
// clips it to the seek's time: it then starts there and is shorter by as much, while its end stays. With the
// stream's frame period known (`periodNs` > 0), a picture shorter than a period starts one period before its
// end; any other is as given.
ShownFrame UnclippedFrame(ShownFrame decoded, std::int64_t periodNs);

// Time of the picture after `shown`; nothing when `shown` is the last one of a recording `recordingNs` long
// (the next would begin less than half a frame before the end). A step forward that is made anyway lands
// on the end and gives no picture.
std::optional<std::int64_t> NextFrameTime(ShownFrame shown, std::int64_t recordingNs);

// The time to seek to for the picture before `shown`: the middle of it, so that timestamps rounded to a
// nanosecond or to 100 ns still land inside that picture and never on the one before it. Nothing when
// `shown` is the first picture.
std::optional<std::int64_t> PreviousFrameSeekTime(ShownFrame shown);

}  // namespace vx
