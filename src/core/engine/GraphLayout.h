// Which elements a recording's graph holds, in the order they are added, and how the source is counted.
#pragma once

#include <string>
#include <vector>

namespace vx {

enum class GraphRole {
  Source, AudioDecoder, AudioRenderer,
  VideoDecoder1, VideoDecoder2, Converter1, Converter2, Renderer1, Renderer2
};

struct GraphStep {
  GraphRole role;
  std::string name;  // the element's name in the pipeline
};

inline constexpr int kPcmAudioWeight = 1000;
inline constexpr const char* kSourceName = "MxStreamParseFilter";

// One output pad of the camera source as the graph sees it.
struct SourcePadInfo {
  std::string name;
  bool pcm = false;  // its first caps are uncompressed sound
};

// Pads whose name contains "Video" (case-sensitive, anywhere in the name).
int CountVideoPads(const std::vector<SourcePadInfo>& pads);
// Pads whose name contains "Audio", plus 1000 for each of them that carries PCM.
int CountAudioPads(const std::vector<SourcePadInfo>& pads);

// The elements of a graph with one or two video streams and `audioCount` as CountAudioPads gives it:
// 0 no sound, 1..999 compressed sound (decoder + renderer), 1000 and more PCM (renderer only).
// Empty for any other number of video streams.
std::vector<GraphStep> GraphLayout(int videoStreams, int audioCount);

}  // namespace vx
