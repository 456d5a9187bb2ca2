// Receives decoded pictures on the streaming thread, keeps the last one and passes it to the window.
#include "engine/CVideoRenderer.h"

namespace vx {

namespace {

// When the picture's display ends on the stream's running time: its time plus its length.
GstClockTime PictureEnd(GstSample* sample) {
  GstBuffer* buffer = gst_sample_get_buffer(sample);
  const GstSegment* segment = gst_sample_get_segment(sample);
  if (!buffer || !segment || !GST_BUFFER_PTS_IS_VALID(buffer)) return GST_CLOCK_TIME_NONE;
  const GstClockTime length = GST_BUFFER_DURATION_IS_VALID(buffer) ? GST_BUFFER_DURATION(buffer) : 0;
  return gst_segment_to_running_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer) + length);
}

}  // namespace

CVideoRenderer::CVideoRenderer(const char* name, IVideoWindow* window, bool presenting)
    : m_pSink(Retain(gst_element_factory_make("appsink", name))), m_pWindow(window), m_bPresenting(presenting) {
  if (!m_pSink) return;
  GstPtr<GstCaps> caps = Adopt(gst_caps_new_empty_simple("video/x-raw"));
  // Held EOS would keep the pipeline from ending when a picture is not pulled at once.
  g_object_set(m_pSink.get(), "caps", caps.get(), "wait-on-eos", FALSE, "max-buffers", 1u, nullptr);
  GstAppSinkCallbacks callbacks{};
  callbacks.new_preroll = &CVideoRenderer::OnPreroll;
  callbacks.new_sample = &CVideoRenderer::OnSample;
  gst_app_sink_set_callbacks(GST_APP_SINK(m_pSink.get()), &callbacks, this, nullptr);
  GstPtr<GstPad> pad = Adopt(gst_element_get_static_pad(m_pSink.get(), "sink"));
  gst_pad_add_probe(pad.get(), GstPadProbeType(GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM | GST_PAD_PROBE_TYPE_EVENT_FLUSH),
                    &CVideoRenderer::OnEvent, this, nullptr);
}

GstFlowReturn CVideoRenderer::OnPreroll(GstAppSink* sink, gpointer self) {
  static_cast<CVideoRenderer*>(self)->Keep(Adopt(gst_app_sink_pull_preroll(sink)));
  return GST_FLOW_OK;
}

GstFlowReturn CVideoRenderer::OnSample(GstAppSink* sink, gpointer self) {
  static_cast<CVideoRenderer*>(self)->Keep(Adopt(gst_app_sink_pull_sample(sink)));
  return GST_FLOW_OK;
}

// Runs on the streaming thread in stream order. A flush or a segment opens a new question, answered by
// the next picture or the end; a seek past the data flushes and ends the stream without a segment.
GstPadProbeReturn CVideoRenderer::OnEvent(GstPad*, GstPadProbeInfo* info, gpointer self) {
  auto* renderer = static_cast<CVideoRenderer*>(self);
  GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
  if (GST_EVENT_TYPE(event) == GST_EVENT_FLUSH_STOP || GST_EVENT_TYPE(event) == GST_EVENT_SEGMENT) {
    std::lock_guard lock(renderer->m_mutex);
    renderer->m_nSegmentSeqnum = gst_event_get_seqnum(event);
    renderer->m_bSegmentAnswered = false;
    renderer->m_nLastEnd = GST_CLOCK_TIME_NONE;
  } else if (GST_EVENT_TYPE(event) == GST_EVENT_EOS) {
    renderer->AnswerSegment(true);
    // The probe sees the end as soon as the last picture has been handed over, before the sink waits out
    // that picture's length: whoever takes over next can be ready for the very moment it ends.
    EndListener listener;
    GstClockTime lastEnd = GST_CLOCK_TIME_NONE;
    {
      std::lock_guard lock(renderer->m_mutex);
      listener = renderer->m_endListener;
      lastEnd = renderer->m_nLastEnd;
    }
    if (listener) listener(lastEnd);
  }
  return GST_PAD_PROBE_OK;
}

void CVideoRenderer::Keep(GstPtr<GstSample> pulled) {
  if (!pulled) return;
  // appsink fills the same sample object again for the next picture and cannot while we hold it:
  // keep a sample of our own around the same buffer and caps.
  GstPtr<GstSample> sample = Adopt(gst_sample_new(gst_sample_get_buffer(pulled.get()), gst_sample_get_caps(pulled.get()),
                                                  gst_sample_get_segment(pulled.get()), nullptr));
  pulled.reset();
  const CVideoFrame frame(sample.get());
  const std::optional<ShownFrame> time = ShownFrameOf(sample.get());
  {
    std::lock_guard lock(m_mutex);
    m_last = frame;
    m_lastTime = time;
    m_nLastEnd = PictureEnd(sample.get());
  }
  IVideoWindow* window = m_pWindow;
  if (window && m_bPresenting) window->PresentFrame(frame);
  AnswerSegment(false);
}

void CVideoRenderer::AnswerSegment(bool end) {
  guint32 seqnum = GST_SEQNUM_INVALID;
  {
    std::lock_guard lock(m_mutex);
    if (m_bSegmentAnswered) return;
    m_bSegmentAnswered = true;
    seqnum = m_nSegmentSeqnum;
  }
  GstStructure* answer = gst_structure_new(kSegmentAnswerMessage, "end", G_TYPE_BOOLEAN, end, nullptr);
  GstMessage* message = gst_message_new_element(GST_OBJECT(m_pSink.get()), answer);
  gst_message_set_seqnum(message, seqnum);
  gst_element_post_message(m_pSink.get(), message);
}

QImage CVideoRenderer::GrabFrame() const {
  CVideoFrame last;
  {
    std::lock_guard lock(m_mutex);
    last = m_last;
  }
  return CFrameConverter().Convert(last);
}

std::optional<ShownFrame> CVideoRenderer::LastFrameTime() const {
  std::lock_guard lock(m_mutex);
  return m_lastTime;
}

void CVideoRenderer::ExpectStep(guint32 seqnum) {
  std::lock_guard lock(m_mutex);
  m_nSegmentSeqnum = seqnum;
  m_bSegmentAnswered = false;
}

void CVideoRenderer::StartPresenting(bool showKept) {
  m_bPresenting = true;
  CVideoFrame kept;
  {
    std::lock_guard lock(m_mutex);
    kept = m_last;
  }
  IVideoWindow* window = m_pWindow;
  if (showKept && window && !kept.IsNull()) window->PresentFrame(kept);
}

void CVideoRenderer::SetEndListener(EndListener listener) {
  std::lock_guard lock(m_mutex);
  m_endListener = std::move(listener);
}

void CVideoRenderer::Repaint() const {
  if (IVideoWindow* window = m_pWindow) window->RepaintFrame();
}

}  // namespace vx
