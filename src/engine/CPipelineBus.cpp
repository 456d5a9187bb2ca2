// Error, warning, end and preroll messages of a recording's pipeline, handled in one switch.
#include "engine/CPipelineBus.h"

#include <cstdio>

namespace vx {

void DumpPipelineGraph(GstElement* pipeline, const char* stage) {
  GST_DEBUG_BIN_TO_DOT_FILE_WITH_TS(GST_BIN(pipeline), GST_DEBUG_GRAPH_SHOW_ALL, stage);
}

CPipelineBus::CPipelineBus(GstElement* pipeline)
    : m_pPipeline(pipeline), m_pBus(Adopt(gst_element_get_bus(pipeline))) {}

void CPipelineBus::Pump() {
  while (GstPtr<GstMessage> message = Adopt(gst_bus_pop(m_pBus.get()))) Handle(message.get());
}

void CPipelineBus::Reset() {
  Pump();
  m_bPrerolled = false;
  m_bEos = false;
}

bool CPipelineBus::WaitForPreroll(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!m_bPrerolled && !m_bError) {
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    GstPtr<GstMessage> message = Adopt(gst_bus_timed_pop(m_pBus.get(), static_cast<GstClockTime>(left.count())));
    if (!message) break;
    Handle(message.get());
  }
  return m_bPrerolled && !m_bError;
}

void CPipelineBus::Handle(GstMessage* message) {
  GError* error = nullptr;
  gchar* detail = nullptr;
  switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
      gst_message_parse_error(message, &error, &detail);
      std::fprintf(stderr, "vx880: error from %s: %s (%s)\n", GST_OBJECT_NAME(GST_MESSAGE_SRC(message)),
                   error->message, detail ? detail : "");
      m_bError = true;
      DumpPipelineGraph(m_pPipeline, "vx880-error");
      break;
    case GST_MESSAGE_WARNING:
      gst_message_parse_warning(message, &error, &detail);
      std::fprintf(stderr, "vx880: warning from %s: %s\n", GST_OBJECT_NAME(GST_MESSAGE_SRC(message)),
                   error->message);
      break;
    case GST_MESSAGE_EOS:
      m_bEos = true;
      break;
    case GST_MESSAGE_ASYNC_DONE:
      m_bPrerolled = true;
      break;
    default:
      break;
  }
  GstPtr<GError> ownedError(error);
  GstPtr<gchar> ownedDetail(detail);
}

}  // namespace vx
