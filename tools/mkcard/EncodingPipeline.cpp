// Launch, feed and drain an encoding pipeline; the bus is read in one place, WaitForEnd.
#include "EncodingPipeline.h"

#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>

#include <cstring>
#include <string_view>

namespace vx::mkcard {
namespace {

struct BusMessageUnref {
  void operator()(GstMessage* m) const { gst_message_unref(m); }
};
struct SampleUnref {
  void operator()(GstSample* s) const { gst_sample_unref(s); }
};

// What went wrong, without the file name the caller prints anyway: the system's reason when an element
// names one ("Permission denied", "No space left on device"), else GStreamer's own message.
std::string ErrorText(const GError* err, const gchar* debug) {
  constexpr std::string_view kSystemError = "system error: ";
  const std::string_view details = debug ? debug : "";
  if (const auto at = details.find(kSystemError); at != std::string_view::npos) {
    const std::string_view reason = details.substr(at + kSystemError.size());
    return std::string(reason.substr(0, reason.find('\n')));
  }
  return err ? err->message : "encoding failed";
}

}  // namespace

EncodingPipeline::~EncodingPipeline() { Stop(); }

void EncodingPipeline::Stop() {
  if (m_pipeline) gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
}

bool EncodingPipeline::Launch(const std::string& description, std::span<const std::string> outputPaths,
                              std::string& error) {
  GError* parseError = nullptr;
  GstElement* pipeline = gst_parse_launch(description.c_str(), &parseError);
  if (parseError) {
    error = parseError->message;
    g_error_free(parseError);
    if (pipeline) gst_object_unref(pipeline);
    return false;
  }
  if (g_object_is_floating(pipeline)) gst_object_ref_sink(pipeline);  // own it whether it came floating or not
  m_pipeline.reset(pipeline);
  for (std::size_t i = 0; i < outputPaths.size(); ++i) {
    const auto file = Element(("file" + std::to_string(i)).c_str());
    g_object_set(file.get(), "location", outputPaths[i].c_str(), nullptr);
  }
  if (gst_element_set_state(m_pipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
    // The element that refused (a file that cannot be opened) has said why on the bus.
    if (!PopError(0, error)) error = "the encoding pipeline could not start";
    return false;
  }
  return true;
}

std::unique_ptr<GstElement, EncodingPipeline::Unref> EncodingPipeline::Element(const char* name) const {
  return std::unique_ptr<GstElement, Unref>(gst_bin_get_by_name(GST_BIN(m_pipeline.get()), name));
}

bool EncodingPipeline::Push(const char* source, std::span<const std::uint8_t> bytes, GstClockTime pts,
                            GstClockTime duration) {
  const auto src = Element(source);
  GstBuffer* buffer = gst_buffer_new_memdup(bytes.data(), bytes.size());
  GST_BUFFER_PTS(buffer) = pts;
  GST_BUFFER_DURATION(buffer) = duration;
  return gst_app_src_push_buffer(GST_APP_SRC(src.get()), buffer) == GST_FLOW_OK;  // takes the buffer
}

void EncodingPipeline::EndOfStream(const char* source) {
  gst_app_src_end_of_stream(GST_APP_SRC(Element(source).get()));
}

bool EncodingPipeline::Pull(const char* sink, std::vector<std::uint8_t>& out, bool& keyFrame) {
  const std::unique_ptr<GstSample, SampleUnref> sample(gst_app_sink_pull_sample(GST_APP_SINK(Element(sink).get())));
  if (!sample) return false;
  GstBuffer* buffer = gst_sample_get_buffer(sample.get());
  GstMapInfo map;
  if (!gst_buffer_map(buffer, &map, GST_MAP_READ)) return false;
  out.assign(map.data, map.data + map.size);
  gst_buffer_unmap(buffer, &map);
  keyFrame = !GST_BUFFER_FLAG_IS_SET(buffer, GST_BUFFER_FLAG_DELTA_UNIT);
  return true;
}

bool EncodingPipeline::WaitForEnd(std::string& error) { return !PopError(GST_CLOCK_TIME_NONE, error); }

bool EncodingPipeline::PopError(GstClockTime timeout, std::string& error) {
  const std::unique_ptr<GstBus, decltype(&gst_object_unref)> bus(gst_element_get_bus(m_pipeline.get()),
                                                                   [](gpointer p) { gst_object_unref(p); });
  const auto types = static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR);
  const std::unique_ptr<GstMessage, BusMessageUnref> message(gst_bus_timed_pop_filtered(bus.get(), timeout, types));
  if (!message || GST_MESSAGE_TYPE(message.get()) != GST_MESSAGE_ERROR) return false;
  GError* err = nullptr;
  gchar* debug = nullptr;
  gst_message_parse_error(message.get(), &err, &debug);
  error = ErrorText(err, debug);
  g_clear_error(&err);
  g_free(debug);
  return true;
}

}  // namespace vx::mkcard
