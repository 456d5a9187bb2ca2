// Decoders, converters and the sound renderer of a recording's graph, as small bins where one element
// is not enough.
#include "engine/BranchElements.h"

#include <cstdio>

#include "engine/CCameraSource.h"

namespace vx {

namespace {

// The sound branch; its volume element is named kSoundLevelName. Compressed sound is decoded to timestamps that scaletempo keeps in step at every
// rate, with the pitch kept. PCM from avidemux leaves scaletempo's timestamps unscaled (the end comes
// late and the position overshoots), so PCM goes without it: the sink follows the rate itself, pitch
// shifted, and stays in time.
constexpr const char* kCompressedSoundRenderer =
    "audioconvert ! audioresample ! scaletempo ! audioconvert ! audioresample ! volume name=level ! autoaudiosink";
constexpr const char* kPcmSoundRenderer = "audioconvert ! audioresample ! volume name=level ! autoaudiosink";
constexpr const char* kAacDecoder = "aacparse ! avdec_aac";

const char* VideoDecoderFor(GstCaps* caps) {
  if (!caps || gst_caps_is_empty(caps)) return nullptr;
  const std::string format = gst_structure_get_name(gst_caps_get_structure(caps, 0));
  if (format == "video/x-h264") return "h264parse ! avdec_h264 max-threads=1";
  if (format == "video/x-h265") return "h265parse ! avdec_h265";
  if (format == "image/jpeg") return "jpegdec";
  std::fprintf(stderr, "vx880: no decoder for video %s\n", format.c_str());
  return nullptr;
}

GstPtr<GstElement> MakeBin(const char* description, const std::string& name) {
  if (!description) return nullptr;
  GError* error = nullptr;
  GstPtr<GstElement> bin = Retain(gst_parse_bin_from_description(description, TRUE, &error));
  GstPtr<GError> owned(error);
  if (!bin || owned) {
    std::fprintf(stderr, "vx880: cannot make %s: %s\n", name.c_str(), owned ? owned->message : "?");
    return nullptr;
  }
  gst_object_set_name(GST_OBJECT(bin.get()), name.c_str());
  return bin;
}

GstPtr<GstElement> MakeElement(const char* factory, const std::string& name) {
  return Retain(gst_element_factory_make(factory, name.c_str()));
}

}  // namespace

GstPtr<GstElement> MakeBranchElement(GraphRole role, const std::string& name, GstCaps* caps, bool pcm) {
  switch (role) {
    case GraphRole::Source:
      return MakeElement(kCameraSourceFactory, name);
    case GraphRole::AudioDecoder:
      return MakeBin(kAacDecoder, name);
    case GraphRole::AudioRenderer:
      return MakeBin(pcm ? kPcmSoundRenderer : kCompressedSoundRenderer, name);
    case GraphRole::VideoDecoder1:
    case GraphRole::VideoDecoder2:
      return MakeBin(VideoDecoderFor(caps), name);
    case GraphRole::Converter1:
    case GraphRole::Converter2:
      return MakeElement("videoconvert", name);
    case GraphRole::Renderer1:
    case GraphRole::Renderer2:
      break;
  }
  return nullptr;
}

bool HasElementFactory(const std::string& factory) {
  return static_cast<bool>(Adopt(gst_element_factory_find(factory.c_str())));
}

}  // namespace vx
