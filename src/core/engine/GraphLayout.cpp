// Element names and order of the one- and two-stream graphs, and the pad counting rules.
#include "core/engine/GraphLayout.h"

namespace vx {

int CountVideoPads(const std::vector<SourcePadInfo>& pads) {
  int count = 0;
  for (const SourcePadInfo& pad : pads) count += pad.name.find("Video") != std::string::npos ? 1 : 0;
  return count;
}

int CountAudioPads(const std::vector<SourcePadInfo>& pads) {
  int count = 0;
  for (const SourcePadInfo& pad : pads) {
    if (pad.name.find("Audio") == std::string::npos) continue;
    count += pad.pcm ? 1 + kPcmAudioWeight : 1;
  }
  return count;
}

namespace {

void AddAudio(std::vector<GraphStep>& steps, int audioCount, const char* decoderName) {
  if (audioCount <= 0) return;
  if (audioCount < kPcmAudioWeight) steps.push_back({GraphRole::AudioDecoder, decoderName});
  steps.push_back({GraphRole::AudioRenderer, "DirectSound Audio Renderer"});
}

}  // namespace

std::vector<GraphStep> GraphLayout(int videoStreams, int audioCount) {
  std::vector<GraphStep> steps{{GraphRole::Source, kSourceName}};
  if (videoStreams == 1) {
    AddAudio(steps, audioCount, "COREAAC AUDIO");
    steps.insert(steps.end(), {{GraphRole::VideoDecoder1, "FFDShow Decoder1"},
                               {GraphRole::Converter1, "Color Space Convertor 1"},
                               {GraphRole::Renderer1, "Mixing Renderer9"}});
  } else if (videoStreams == 2) {
    AddAudio(steps, audioCount, "CoreAAC Decoder");
    steps.insert(steps.end(), {{GraphRole::VideoDecoder1, "FFDShow Decoder1"},
                               {GraphRole::VideoDecoder2, "FFDShow Decoder2"},
                               {GraphRole::Converter1, "Color Space Convertor 1"},
                               {GraphRole::Converter2, "Color Space Convertor 2"},
                               {GraphRole::Renderer1, "Mixing Renderer9-1"},
                               {GraphRole::Renderer2, "Mixing Renderer9-2"}});
  } else {
    return {};
  }
  return steps;
}

}  // namespace vx
