// Error, warning, end, preroll and seek-answer messages of a recording's pipeline, handled in one switch.
#include "engine/CPipelineBus.h"

#include <cstdio>

#include "engine/CVideoRenderer.h"

namespace vx {

void DumpPipelineGraph(GstElement* pipeline, const char* stage) {
  GST_DEBUG_BIN_TO_DOT_FILE_WITH_TS(GST_BIN(pipeline), GST_DEBUG_GRAPH_SHOW_ALL, stage);
}

CPipelineBus::CPipelineBus(GstElement* pipeline, std::string path)
    : m_pPipeline(pipeline), m_pBus(Adopt(gst_element_get_bus(pipeline))), m_strPath(std::move(path)) {}

void CPipelineBus::Pump() {
  while (GstPtr<GstMessage> message = Adopt(gst_bus_pop(m_pBus.get()))) Handle(message.get());
}

// Pops and handles messages until `done` holds or `limit` passes; `done` is checked after each.
template <typename Done>
void CPipelineBus::HandleUntil(std::chrono::milliseconds limit, Done done) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return;
    GstPtr<GstMessage> message = Adopt(gst_bus_timed_pop(m_pBus.get(), static_cast<GstClockTime>(left.count())));
    if (!message) return;
    Handle(message.get());
  }
}

void CPipelineBus::ExpectPreroll() {
  Pump();
  m_bPrerolled = false;
}

bool CPipelineBus::WaitForPreroll(std::chrono::milliseconds timeout) {
  HandleUntil(timeout, [this] { return m_bPrerolled || m_bError; });
  return m_bPrerolled && !m_bError;
}

void CPipelineBus::ExpectSeek(guint32 seqnum, const GstElement* answerer, bool endIsTheEnd) {
  m_nAwaitedSeek = seqnum;
  m_pAnswerer = answerer;
  m_bAnswerEndIsTheEnd = endIsTheEnd;
  m_bSeekAnswered = false;
  m_bEnded = false;
  m_bError = false;
}

SeekAnswer CPipelineBus::WaitForSeekAnswer(std::chrono::milliseconds limit) {
  HandleUntil(limit, [this] { return !SeekPending(); });
  if (!SeekPending()) return SeekAnswer::Answered;
  std::fprintf(stderr, "vx880: %s: no answer to a seek yet; still waiting for it\n", m_strPath.c_str());
  DumpPipelineGraph(m_pPipeline, "vx880-no-seek-answer");
  return SeekAnswer::NoAnswer;
}

void CPipelineBus::Handle(GstMessage* message) {
  switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
      HandleError(message);
      break;
    case GST_MESSAGE_WARNING: {
      GError* error = nullptr;
      gst_message_parse_warning(message, &error, nullptr);
      GstPtr<GError> owned(error);
      std::fprintf(stderr, "vx880: %s: warning from %s: %s\n", m_strPath.c_str(),
                   GST_OBJECT_NAME(GST_MESSAGE_SRC(message)), error->message);
      break;
    }
    case GST_MESSAGE_EOS:
      // The pipeline posts its end once every sink has ended, which can be after a newer seek began: the
      // end of an earlier segment (another sequence number) is not the end of this one.
      if (m_nAwaitedSeek == GST_SEQNUM_INVALID || gst_message_get_seqnum(message) == m_nAwaitedSeek) m_bEnded = true;
      break;
    case GST_MESSAGE_ASYNC_DONE:
      m_bPrerolled = true;
      break;
    case GST_MESSAGE_ELEMENT:
      HandleSegmentAnswer(message);
      break;
    default:
      break;
  }
}

// An error stops the streams for good: the recording has ended. One line names the file and the error.
void CPipelineBus::HandleError(GstMessage* message) {
  GError* error = nullptr;
  gchar* detail = nullptr;
  gst_message_parse_error(message, &error, &detail);
  GstPtr<GError> ownedError(error);
  GstPtr<gchar> ownedDetail(detail);
  std::fprintf(stderr, "vx880: %s: %s (from %s%s%s)\n", m_strPath.c_str(), error->message,
               GST_OBJECT_NAME(GST_MESSAGE_SRC(message)), detail ? ": " : "", detail ? detail : "");
  if (!m_bError) DumpPipelineGraph(m_pPipeline, "vx880-error");
  m_bError = true;
  m_bEnded = true;
}

// Only the answer of the awaited seek's renderer counts (the front; the rear follows the same seek).
void CPipelineBus::HandleSegmentAnswer(GstMessage* message) {
  const GstStructure* answer = gst_message_get_structure(message);
  if (!answer || !gst_structure_has_name(answer, kSegmentAnswerMessage)) return;
  if (m_bSeekAnswered || gst_message_get_seqnum(message) != m_nAwaitedSeek) return;
  if (GST_MESSAGE_SRC(message) != GST_OBJECT_CAST(m_pAnswerer)) return;
  gboolean end = FALSE;
  gst_structure_get_boolean(answer, "end", &end);
  m_bSeekAnswered = true;
  m_bEnded = m_bEnded || (end && m_bAnswerEndIsTheEnd);
}

}  // namespace vx
