// Receives decoded pictures on the streaming thread, keeps the last one and passes it to the window.
#include "engine/CVideoRenderer.h"

#include <gst/video/video.h>

#include <memory>

namespace vx {

namespace {

// A mapped picture that stays valid as long as the QImage that shows it.
struct MappedFrame {
  GstPtr<GstSample> sample;
  GstVideoFrame frame{};
  bool bMapped = false;
  ~MappedFrame() {
    if (bMapped) gst_video_frame_unmap(&frame);
  }
};

void ReleaseMappedFrame(void* mapped) { delete static_cast<MappedFrame*>(mapped); }

}  // namespace

QImage WrapSample(GstSample* sample) {
  GstVideoInfo info;
  if (!sample || !gst_video_info_from_caps(&info, gst_sample_get_caps(sample))) return {};
  auto mapped = std::make_unique<MappedFrame>();
  mapped->sample.reset(gst_sample_ref(sample));
  GstBuffer* buffer = gst_sample_get_buffer(sample);
  mapped->bMapped = buffer && gst_video_frame_map(&mapped->frame, &info, buffer, GST_MAP_READ);
  if (!mapped->bMapped) return {};
  GstVideoFrame& frame = mapped->frame;
  QImage image(static_cast<const uchar*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)), GST_VIDEO_FRAME_WIDTH(&frame),
               GST_VIDEO_FRAME_HEIGHT(&frame), GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0), QImage::Format_RGB32,
               ReleaseMappedFrame, mapped.get());
  mapped.release();  // the image owns it now
  return image;
}

CVideoRenderer::CVideoRenderer(const char* name, IVideoWindow* window)
    : m_pSink(Retain(gst_element_factory_make("appsink", name))), m_pWindow(window) {
  if (!m_pSink) return;
  GstPtr<GstCaps> caps = Adopt(gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", nullptr));
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
  const QImage frame = m_pWindow ? WrapSample(sample.get()) : QImage();
  {
    std::lock_guard lock(m_mutex);
    m_pLast = std::move(sample);
    ++m_nFrames;
  }
  m_frameArrived.notify_all();
  if (m_pWindow && !frame.isNull()) m_pWindow->PresentFrame(frame);
}

QImage CVideoRenderer::GrabFrame() const {
  std::lock_guard lock(m_mutex);
  return WrapSample(m_pLast.get()).copy();
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
