// Reads a recording's streams with the discoverer and maps codecs to the elements that carry them.
#include "export/ExportStreams.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <mutex>

#include "engine/GstPtr.h"

namespace vx {

namespace {

constexpr auto kProbeTimeout = std::chrono::seconds(10);

// "RIFF" size "AVI ": a RIFF AVI file; anything else goes to the MP4 demuxer.
bool IsAvi(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char head[12] = {};
  in.read(head, sizeof head);
  return in && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "AVI ", 4) == 0;
}

// The demuxer's pads as it announces them; complete once it says there are no more.
struct PadCollector {
  std::mutex lock;
  std::condition_variable announced;
  std::vector<ExportStream> streams;
  bool complete = false;
};

void OnProbePad(GstElement*, GstPad* pad, gpointer data) {
  auto* collector = static_cast<PadCollector*>(data);
  const GstPtr<GstCaps> caps = Adopt(gst_pad_get_current_caps(pad));
  const GstPtr<gchar> name = Adopt(gst_pad_get_name(pad));
  ExportStream stream;
  stream.padName = name.get();
  stream.kind = stream.padName.starts_with("audio") ? ExportStream::Kind::Audio : ExportStream::Kind::Video;
  if (caps && gst_caps_get_size(caps.get()) > 0) {
    const GstStructure* structure = gst_caps_get_structure(caps.get(), 0);
    stream.caps = gst_structure_get_name(structure);
    gst_structure_get_int(structure, "width", &stream.width);
    gst_structure_get_int(structure, "height", &stream.height);
  }
  const std::lock_guard guard(collector->lock);
  collector->streams.push_back(stream);
}

void OnProbeDone(GstElement*, gpointer data) {
  auto* collector = static_cast<PadCollector*>(data);
  const std::lock_guard guard(collector->lock);
  collector->complete = true;
  collector->announced.notify_all();
}

}  // namespace

const ExportStream* RecordingStreams::Find(const char* padName) const {
  for (const ExportStream& s : streams) {
    if (s.padName == padName) return &s;
  }
  return nullptr;
}

// Only the demuxer runs, up to the announcement of its pads: no decoder is started, so a probe costs
// little beside the export.
std::optional<RecordingStreams> ProbeRecording(const std::string& path, std::string& error) {
  RecordingStreams result;
  result.avi = IsAvi(path);
  const GstPtr<GstElement> pipeline = Retain(gst_pipeline_new("vx880-export-probe"));
  GstElement* source = AddElement(GST_BIN(pipeline.get()), "filesrc");
  GstElement* demuxer = AddElement(GST_BIN(pipeline.get()), result.avi ? "avidemux" : "qtdemux");
  g_object_set(source, "location", path.c_str(), nullptr);
  if (!LinkChain({source, demuxer})) {
    error = "the demuxer is missing";
    return std::nullopt;
  }
  PadCollector collector;
  g_signal_connect(demuxer, "pad-added", G_CALLBACK(OnProbePad), &collector);
  g_signal_connect(demuxer, "no-more-pads", G_CALLBACK(OnProbeDone), &collector);
  gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
  const GstPtr<GstBus> bus = Adopt(gst_element_get_bus(pipeline.get()));
  const auto deadline = std::chrono::steady_clock::now() + kProbeTimeout;
  std::unique_lock guard(collector.lock);
  while (!collector.complete && std::chrono::steady_clock::now() < deadline) {
    collector.announced.wait_for(guard, std::chrono::milliseconds(50));
    if (collector.complete) break;  // the unlinked pads fail once data flows: that error is not the file's
    guard.unlock();
    const GstPtr<GstMessage> failure = Adopt(gst_bus_pop_filtered(bus.get(), GST_MESSAGE_ERROR));
    guard.lock();
    if (!failure) continue;
    GError* raw = nullptr;
    gst_message_parse_error(failure.get(), &raw, nullptr);
    const GstPtr<GError> message = Adopt(raw);
    error = message ? message->message : "not a recording GStreamer can read";
    break;
  }
  const bool complete = collector.complete;
  result.streams = collector.streams;
  guard.unlock();
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  if (!complete) {
    if (error.empty()) error = "its streams were not announced";
    return std::nullopt;
  }
  if (!result.Find("video_0")) {
    error = "no video stream";
    return std::nullopt;
  }
  error.clear();
  return result;
}

namespace {

// The parser and the decoder of each kind of stream a recording holds; any other passes through as it is.
struct StreamElements {
  const char* caps;
  const char* parser;
  const char* decoder;
};
constexpr StreamElements kStreamElements[] = {
    {"video/x-h264", "h264parse", "avdec_h264"},
    {"video/x-h265", "h265parse", "avdec_h265"},
    {"image/jpeg", "jpegparse", "jpegdec"},
    {"audio/mpeg", "aacparse", "avdec_aac"},
};
constexpr StreamElements kPassThrough{"", "identity", "identity"};

const StreamElements& ElementsFor(const std::string& caps) {
  for (const StreamElements& elements : kStreamElements)
    if (caps == elements.caps) return elements;
  return kPassThrough;
}

}  // namespace

const char* ParserFor(const std::string& caps) { return ElementsFor(caps).parser; }
const char* DecoderFor(const std::string& caps) { return ElementsFor(caps).decoder; }

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
