// Receives decoded pictures on the streaming thread, keeps the last one and passes it to the window.
#include "engine/CVideoRenderer.h"


namespace vx {

CVideoRenderer::CVideoRenderer(const char* name, IVideoWindow* window)
    : m_pSink(Retain(gst_element_factory_make("appsink", name))), m_pWindow(window) {
  if (!m_pSink) return;
  GstPtr<GstCaps> caps = Adopt(gst_caps_new_empty_simple("video/x-raw"));
  // Held EOS would keep the pipeline from ending when a picture is not pulled at once.
  g_object_set(m_pSink.get(), "caps", caps.get(), "wait-on-eos", FALSE, "max-buffers", 1u, nullptr);
  GstAppSinkCallbacks callbacks{};
  callbacks.new_preroll = &CVideoRenderer::OnPreroll;
  callbacks.new_sample = &CVideoRenderer::OnSample;
  gst_app_sink_set_callbacks(GST_APP_SINK(m_pSink.get()), &callbacks, this, nullptr);
}

GstFlowReturn CVideoRenderer::OnPreroll(GstAppSink* sink, gpointer self) {
  static_cast<CVideoRenderer*>(self)->Keep(Adopt(gst_app_sink_pull_preroll(sink)));
  return GST_FLOW_OK;
}

GstFlowReturn CVideoRenderer::OnSample(GstAppSink* sink, gpointer self) {
  static_cast<CVideoRenderer*>(self)->Keep(Adopt(gst_app_sink_pull_sample(sink)));
  return GST_FLOW_OK;
}

void CVideoRenderer::Keep(GstPtr<GstSample> pulled) {
  if (!pulled) return;
  // appsink fills the same sample object again for the next picture and cannot while we hold it:
  // keep a sample of our own around the same buffer and caps.
  GstPtr<GstSample> sample = Adopt(gst_sample_new(gst_sample_get_buffer(pulled.get()), gst_sample_get_caps(pulled.get()),
                                                  gst_sample_get_segment(pulled.get()), nullptr));
  pulled.reset();
  const CVideoFrame frame(sample.get());
  {
    std::lock_guard lock(m_mutex);
    m_last = frame;
    ++m_nFrames;
  }
  m_frameArrived.notify_all();
  if (m_pWindow) m_pWindow->PresentFrame(frame);
}

QImage CVideoRenderer::GrabFrame() const {
  CVideoFrame last;
  {
    std::lock_guard lock(m_mutex);
    last = m_last;
  }
  return CFrameConverter().Convert(last);
}

void CVideoRenderer::Repaint() const {
  if (m_pWindow) m_pWindow->RepaintFrame();
}

bool CVideoRenderer::WaitForFrameAfter(std::uint64_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(m_mutex);
  return m_frameArrived.wait_for(lock, timeout, [&] { return m_nFrames > count; });
}

std::uint64_t CVideoRenderer::FrameCount() const {
  std::lock_guard lock(m_mutex);
  return m_nFrames;
}

}  // namespace vx
