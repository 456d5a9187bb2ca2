// Loading a recording into the camera source: demuxer, one queue per stream, named ghost pads.
//
//   vxcamerasrc (bin) ------------------------------------------------------------.
//   | filesrc -> qtdemux|avidemux -+- video_0 -> queue -> ghost pad "Video 1"     |
//   |                              +- video_1 -> queue -> ghost pad "Video 2"     |
//   |                              '- audio_0 -> queue -> ghost pad "Audio"       |
//   '-----------------------------------------------------------------------------'
#include "engine/CCameraSource.h"

#include <chrono>
#include <cstdio>

#include "core/telemetry/TelemetryLog.h"
#include "engine/GstPtr.h"

namespace vx {

namespace {

// Longest wait for the demuxer to announce its streams; a sound file needs a few milliseconds.
constexpr auto kStreamsTimeout = std::chrono::milliseconds(2000);

GstPadProbeReturn HoldBuffer(GstPad*, GstPadProbeInfo*, gpointer) { return GST_PAD_PROBE_OK; }

void PadAdded(GstElement*, GstPad* pad, gpointer self) { static_cast<CCameraSource*>(self)->OnPadAdded(pad); }
void NoMorePads(GstElement*, gpointer self) { static_cast<CCameraSource*>(self)->OnNoMorePads(); }

// "video/…" and "image/…" are pictures, "audio/…" is sound; anything else is left unlinked.
std::string MediaClass(GstPad* pad) {
  GstPtr<GstCaps> caps = Adopt(gst_pad_get_current_caps(pad));
  if (!caps) caps = Adopt(gst_pad_query_caps(pad, nullptr));
  if (!caps || gst_caps_is_empty(caps.get())) return {};
  const std::string name = gst_structure_get_name(gst_caps_get_structure(caps.get(), 0));
  if (name.starts_with("video/") || name.starts_with("image/")) return "video";
  if (name.starts_with("audio/")) return "audio";
  return {};
}

}  // namespace

HRESULT CCameraSource::Load(const std::string& path) {
  if (m_bLoaded) return VFW_E_WRONG_STATE;
  TelemetryLogResult log = ReadTelemetryLogFile(path);
  if (!log.ok) {
    std::fprintf(stderr, "vx880: cannot open %s: %s\n", path.c_str(), log.error.c_str());
    return E_FAIL;
  }
  if (!log.log.Warning().empty())
    std::fprintf(stderr, "vx880: %s: telemetry: %s\n", path.c_str(), log.log.Warning().c_str());
  m_telemetry.Assign(std::move(log.log));
  if (!BuildDemuxer(path, log.container)) return E_FAIL;
  m_bLoaded = true;
  GstElement* self = GST_ELEMENT(m_pBin);
  gst_element_set_locked_state(self, TRUE);
  if (gst_element_set_state(self, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
    Shutdown();
    return E_FAIL;
  }
  return WaitForStreams();
}

GstElement* CCameraSource::AddChild(const char* factory, const char* name) {
  GstElement* element = gst_element_factory_make(factory, name);
  if (element) gst_bin_add(m_pBin, element);
  return element;
}

bool CCameraSource::BuildDemuxer(const std::string& path, ContainerKind container) {
  const char* demuxFactory = container == ContainerKind::Mp4 ? "qtdemux"
                             : container == ContainerKind::Avi ? "avidemux" : nullptr;
  if (!demuxFactory) return false;
  GstElement* file = AddChild("filesrc");
  GstElement* demux = AddChild(demuxFactory, "demuxer");
  if (!file || !demux) return false;
  g_object_set(file, "location", path.c_str(), nullptr);
  g_signal_connect(demux, "pad-added", G_CALLBACK(PadAdded), this);
  g_signal_connect(demux, "no-more-pads", G_CALLBACK(NoMorePads), this);
  return gst_element_link(file, demux);
}

HRESULT CCameraSource::WaitForStreams() {
  std::unique_lock lock(m_mutex);
  const bool done = m_streamsKnown.wait_for(lock, kStreamsTimeout,
                                            [this] { return m_bStreamsKnown || !m_strError.empty(); });
  const bool ok = done && m_strError.empty();
  if (!ok) std::fprintf(stderr, "vx880: no streams: %s\n", done ? m_strError.c_str() : "timed out");
  lock.unlock();
  if (!ok) Shutdown();
  return ok ? S_OK : E_FAIL;
}

void CCameraSource::OnPadAdded(GstPad* demuxPad) {
  const std::string kind = MediaClass(demuxPad);
  std::string name;
  {
    std::lock_guard lock(m_mutex);
    if (kind == "video") name = "Video " + std::to_string(++m_nVideoPads);
    if (kind == "audio" && !m_bAudioPad) name = "Audio";
    m_bAudioPad = m_bAudioPad || name == "Audio";
  }
  if (!name.empty()) ExposeStream(demuxPad, name);
}

void CCameraSource::ExposeStream(GstPad* demuxPad, const std::string& name) {
  GstElement* queue = AddChild("queue");
  GstPtr<GstPad> queueSink = Adopt(queue ? gst_element_get_static_pad(queue, "sink") : nullptr);
  GstPtr<GstPad> queueSrc = Adopt(queue ? gst_element_get_static_pad(queue, "src") : nullptr);
  if (!queue || !gst_element_sync_state_with_parent(queue) ||
      GST_PAD_LINK_FAILED(gst_pad_link(demuxPad, queueSink.get()))) {
    // The stream stays unlinked: the demuxer plays the others without it.
    std::fprintf(stderr, "vx880: stream \"%s\" cannot be linked; it is left out\n", name.c_str());
    if (queue) gst_bin_remove(m_pBin, queue);
    return;
  }
  const gulong hold = gst_pad_add_probe(
      demuxPad, GstPadProbeType(GST_PAD_PROBE_TYPE_BLOCK | GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST),
      HoldBuffer, nullptr, nullptr);
  {
    std::lock_guard lock(m_mutex);
    m_heldPads.emplace_back(GstPtr<GstPad>(static_cast<GstPad*>(gst_object_ref(demuxPad))), hold);
  }
  GstPad* ghost = gst_ghost_pad_new(name.c_str(), queueSrc.get());
  gst_pad_add_probe(ghost, GST_PAD_PROBE_TYPE_EVENT_UPSTREAM, DropRepeatedSeek, this, nullptr);
  gst_pad_set_active(ghost, TRUE);
  if (!gst_element_add_pad(GST_ELEMENT(m_pBin), ghost))
    std::fprintf(stderr, "vx880: stream \"%s\" cannot be exposed\n", name.c_str());
}

// A pipeline hands a seek to each of its sinks, and each copy comes up its own stream with the same
// sequence number. Only the first goes on to the demuxer: avidemux would seek (and flush) once per copy.
GstPadProbeReturn CCameraSource::DropRepeatedSeek(GstPad*, GstPadProbeInfo* info, gpointer self) {
  GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
  if (GST_EVENT_TYPE(event) != GST_EVENT_SEEK) return GST_PAD_PROBE_OK;
  const guint32 seqnum = gst_event_get_seqnum(event);
  auto& last = static_cast<CCameraSource*>(self)->m_nLastSeek;
  return last.exchange(seqnum) == seqnum ? GST_PAD_PROBE_DROP : GST_PAD_PROBE_OK;
}

void CCameraSource::OnNoMorePads() {
  std::lock_guard lock(m_mutex);
  m_bStreamsKnown = true;
  m_streamsKnown.notify_all();
}

void CCameraSource::OnChildError(const std::string& message) {
  std::lock_guard lock(m_mutex);
  if (m_bStreamsKnown) return;
  m_strError = message;
  m_streamsKnown.notify_all();
}

void CCameraSource::StartStreaming() {
  gst_element_set_locked_state(GST_ELEMENT(m_pBin), FALSE);
  std::vector<HeldPad> held;
  {
    std::lock_guard lock(m_mutex);
    held.swap(m_heldPads);
  }
  for (auto& [pad, probe] : held) gst_pad_remove_probe(pad.get(), probe);
}

void CCameraSource::Shutdown() {
  // Stopping first unblocks the held pads by flushing them; nothing is let through afterwards.
  gst_element_set_state(GST_ELEMENT(m_pBin), GST_STATE_NULL);
  StartStreaming();
}

}  // namespace vx
