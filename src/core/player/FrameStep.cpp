// Frame arithmetic of the single-frame steps.
#include "core/player/FrameStep.h"

namespace vx {
namespace {

constexpr std::int64_t kNsPerSecond = 1'000'000'000;
constexpr std::int64_t kCameraFrameNs = kNsPerSecond / 30;

}  // namespace

std::int64_t FrameDurationNs(std::int64_t bufferDurationNs, int fpsN, int fpsD) {
  if (bufferDurationNs > 0) return bufferDurationNs;
  if (fpsN > 0 && fpsD > 0) return kNsPerSecond * fpsD / fpsN;
  return kCameraFrameNs;
}

ShownFrame UnclippedFrame(ShownFrame decoded, std::int64_t periodNs) {
  // Timestamps rounded to whole nanoseconds make periods differ by a nanosecond or so: not a clip.
  if (periodNs <= 0 || decoded.durationNs >= periodNs - periodNs / 100) return decoded;
  return {decoded.timeNs + decoded.durationNs - periodNs, periodNs};
}

std::optional<std::int64_t> NextFrameTime(ShownFrame shown, std::int64_t recordingNs) {
  const std::int64_t next = shown.timeNs + shown.durationNs;
  if (recordingNs > 0 && next + shown.durationNs / 2 >= recordingNs) return std::nullopt;
  return next;
}

std::optional<std::int64_t> PreviousFrameSeekTime(ShownFrame shown) {
  const std::int64_t middle = shown.timeNs - shown.durationNs / 2;
  if (middle < 0) return std::nullopt;
  return middle;
}

}  // namespace vx
