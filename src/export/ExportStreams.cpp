// Reads a recording's streams with the discoverer and maps codecs to the elements that carry them.
#include "export/ExportStreams.h"

#include <gst/pbutils/pbutils.h>

#include <cstring>

#include "engine/GstPtr.h"

namespace vx {

template <>
constexpr auto kUnref<GstDiscoverer> = [](GstDiscoverer* p) { g_object_unref(p); };
template <>
constexpr auto kUnref<GstDiscovererInfo> = [](GstDiscovererInfo* p) { g_object_unref(p); };

namespace {

constexpr GstClockTime kProbeTimeout = 10 * GST_SECOND;

// What the discoverer names a stream's caps: the structure name of its first structure.
std::string MediaType(GstDiscovererStreamInfo* info) {
  const GstPtr<GstCaps> caps = Adopt(gst_discoverer_stream_info_get_caps(info));
  return caps && gst_caps_get_size(caps.get()) > 0 ? gst_structure_get_name(gst_caps_get_structure(caps.get(), 0))
                                                   : "";
}

// The file's streams in the order the demuxer numbers its pads: video first, then sound, each by its index.
void CollectStreams(GstDiscovererInfo* info, RecordingStreams& out) {
  GList* videos = gst_discoverer_info_get_video_streams(info);
  int index = 0;
  for (GList* v = videos; v; v = v->next, ++index) {
    auto* video = GST_DISCOVERER_VIDEO_INFO(v->data);
    out.streams.push_back({ExportStream::Kind::Video, "video_" + std::to_string(index), MediaType(GST_DISCOVERER_STREAM_INFO(video)),
                           static_cast<int>(gst_discoverer_video_info_get_width(video)),
                           static_cast<int>(gst_discoverer_video_info_get_height(video))});
  }
  gst_discoverer_stream_info_list_free(videos);
  GList* sounds = gst_discoverer_info_get_audio_streams(info);
  index = 0;
  for (GList* a = sounds; a; a = a->next, ++index) {
    out.streams.push_back({ExportStream::Kind::Audio, "audio_" + std::to_string(index),
                           MediaType(GST_DISCOVERER_STREAM_INFO(a->data)), 0, 0});
  }
  gst_discoverer_stream_info_list_free(sounds);
}

}  // namespace

const ExportStream* RecordingStreams::Find(const char* padName) const {
  for (const ExportStream& s : streams) {
    if (s.padName == padName) return &s;
  }
  return nullptr;
}

std::optional<RecordingStreams> ProbeRecording(const std::string& path, std::string& error) {
  GError* raw = nullptr;
  const GstPtr<GstDiscoverer> discoverer = Adopt(gst_discoverer_new(kProbeTimeout, &raw));
  const GstPtr<GError> failure = Adopt(raw);
  if (!discoverer) {
    error = failure ? failure->message : "no discoverer";
    return std::nullopt;
  }
  const GstPtr<gchar> uri = Adopt(gst_filename_to_uri(path.c_str(), nullptr));
  GError* discoverError = nullptr;
  const GstPtr<GstDiscovererInfo> info = Adopt(gst_discoverer_discover_uri(discoverer.get(), uri.get(), &discoverError));
  const GstPtr<GError> discoverFailure = Adopt(discoverError);
  if (!info || gst_discoverer_info_get_result(info.get()) != GST_DISCOVERER_OK) {
    error = discoverFailure ? discoverFailure->message : "not a recording GStreamer can read";
    return std::nullopt;
  }
  RecordingStreams streams;
  const GstPtr<GstCaps> container =
      Adopt(gst_discoverer_stream_info_get_caps(gst_discoverer_info_get_stream_info(info.get())));
  streams.avi = container && gst_structure_has_name(gst_caps_get_structure(container.get(), 0), "video/x-msvideo");
  CollectStreams(info.get(), streams);
  if (!streams.Find("video_0")) {
    error = "no video stream";
    return std::nullopt;
  }
  return streams;
}

const char* ParserFor(const std::string& caps) {
  if (caps == "video/x-h264") return "h264parse";
  if (caps == "video/x-h265") return "h265parse";
  if (caps == "image/jpeg") return "jpegparse";
  if (caps == "audio/mpeg") return "aacparse";
  return "identity";
}

const char* DecoderFor(const std::string& caps) {
  if (caps == "video/x-h264") return "avdec_h264";
  if (caps == "video/x-h265") return "avdec_h265";
  if (caps == "image/jpeg") return "jpegdec";
  if (caps == "audio/mpeg") return "avdec_aac";
  return "identity";
}

GstElement* AddElement(GstBin* bin, const char* factory, const char* name) {
  GstElement* element = gst_element_factory_make(factory, name);
  if (element) gst_bin_add(bin, element);  // the bin takes the floating reference
  return element;
}

bool LinkChain(std::initializer_list<GstElement*> chain) {
  const GstElement* const* at = chain.begin();
  for (; at + 1 != chain.end(); ++at) {
    if (!*at || !at[1] || !gst_element_link(const_cast<GstElement*>(*at), const_cast<GstElement*>(at[1]))) return false;
  }
  return true;
}

namespace {

// splitmuxsrc asks for its files by this signal; the list stays owned by the pipeline's builder.
gchar** PieceFiles(GstElement*, gpointer files) {
  const auto* list = static_cast<const std::vector<std::string>*>(files);
  gchar** out = g_new0(gchar*, list->size() + 1);
  for (std::size_t i = 0; i < list->size(); ++i) out[i] = g_strdup((*list)[i].c_str());
  return out;
}

}  // namespace

GstElement* AddPieceSource(GstBin* bin, const std::vector<std::string>& files, bool avi, std::string& error) {
  if (avi) {
    if (files.size() != 1) {
      error = "a span across AVI recordings cannot be exported; mark one recording";
      return nullptr;
    }
    GstElement* source = AddElement(bin, "filesrc");
    GstElement* demuxer = AddElement(bin, "avidemux", "demux");
    g_object_set(source, "location", files.front().c_str(), nullptr);
    if (!LinkChain({source, demuxer})) error = "the AVI demuxer is missing";
    return error.empty() ? demuxer : nullptr;
  }
  GstElement* source = AddElement(bin, "splitmuxsrc", "demux");
  if (!source) {
    error = "splitmuxsrc is missing (gstreamer1.0-plugins-good)";
    return nullptr;
  }
  g_signal_connect(source, "format-location", G_CALLBACK(PieceFiles), const_cast<std::vector<std::string>*>(&files));
  return source;
}

}  // namespace vx
