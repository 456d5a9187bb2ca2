// Loading a recording into the camera source: demuxers, one queue per stream, named ghost pads.
//
//   vxcamerasrc (bin) -------------------------------------------------------------------------.
//   | filesrc -> qtdemux|avidemux|tsdemux -+- video_0 -> queue -> ghost pad "Video 1"           |
//   |                                      +- video_1 -> queue -> ghost pad "Video 2"           |
//   |                                      '- audio_0 -> queue -> ghost pad "Audio"             |
//   |  a one-video recording with a partner (the rear camera's file):                           |
//   | partner-file -> partner-demuxer ------- video_0 -> partner-queue -> ghost pad "Video 2"   |
//   |                   (cut at the front's duration; its errors stay in the bin)               |
//   '-------------------------------------------------------------------------------------------'
#include "engine/CCameraSource.h"

#include <chrono>
#include <cstdio>

#include "core/telemetry/TelemetryLog.h"
#include "engine/ContainerSniff.h"
#include "engine/GstPtr.h"

namespace vx {

namespace {

// Longest wait for a demuxer to announce its streams; a sound file needs a few milliseconds.
constexpr auto kStreamsTimeout = std::chrono::milliseconds(2000);

GstPadProbeReturn HoldBuffer(GstPad*, GstPadProbeInfo*, gpointer) { return GST_PAD_PROBE_OK; }

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

HRESULT CCameraSource::Load(const std::string& path, const std::string& partnerPath) {
  if (m_bLoaded) return VFW_E_WRONG_STATE;
  const char* demuxFactory = DemuxerForFile(path);
  if (!demuxFactory) {
    std::fprintf(stderr, "vx880: cannot open %s: not a recording this viewer reads\n", path.c_str());
    return E_FAIL;
  }
  LoadTelemetry(path);
  m_inputs[0].strPath = path;
  if (!BuildDemuxer(m_inputs[0], demuxFactory)) return E_FAIL;
  m_bLoaded = true;
  GstElement* self = GST_ELEMENT(m_pBin);
  gst_element_set_locked_state(self, TRUE);
  if (gst_element_set_state(self, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE || !WaitForStreams(m_inputs[0])) {
    Shutdown();
    return E_FAIL;
  }
  if (!partnerPath.empty()) LoadPartner(partnerPath);
  return S_OK;
}

// Only the camera's own containers carry a telemetry log; other files play without telemetry.
void CCameraSource::LoadTelemetry(const std::string& path) {
  TelemetryLogResult log = ReadTelemetryLogFile(path);
  if (!log.ok) return;
  if (!log.log.Warning().empty())
    std::fprintf(stderr, "vx880: %s: telemetry: %s\n", path.c_str(), log.log.Warning().c_str());
  m_telemetry.Assign(std::move(log.log));
}

// The bin is already paused on its own: the partner's elements join it in that state.
void CCameraSource::LoadPartner(const std::string& partnerPath) {
  Input& partner = m_inputs[1];
  partner.strPath = partnerPath;
  if (m_nVideoPads != 1) {
    std::fprintf(stderr, "vx880: %s: %d video streams; the rear file %s is not played\n", m_inputs[0].strPath.c_str(),
                 m_nVideoPads, partnerPath.c_str());
    return;
  }
  gint64 frontDuration = -1;
  GstPtr<GstPad> front = Adopt(gst_element_get_static_pad(GST_ELEMENT(m_pBin), "Video 1"));
  if (front && gst_pad_query_duration(front.get(), GST_FORMAT_TIME, &frontDuration) && frontDuration > 0)
    m_nFrontDuration = static_cast<GstClockTime>(frontDuration);
  const char* demuxFactory = DemuxerForFile(partnerPath);
  bool ok = demuxFactory && BuildDemuxer(partner, demuxFactory);
  GstPtr<GstIterator> children = Adopt(gst_bin_iterate_elements(m_pBin));
  const auto syncWithBin = [](const GValue* child, gpointer) {
    auto* element = GST_ELEMENT(g_value_get_object(child));
    if (g_str_has_prefix(GST_ELEMENT_NAME(element), kPartnerPrefix)) gst_element_sync_state_with_parent(element);
  };
  if (ok) gst_iterator_foreach(children.get(), syncWithBin, nullptr);
  ok = ok && WaitForStreams(partner);
  if (!ok) {
    std::fprintf(stderr, "vx880: warning: the rear file %s cannot be played; the rear view stays empty\n",
                 partnerPath.c_str());
    RemovePartner();
  }
}

// Takes the partner's branch out of the bin, with "Video 2" when it was already exposed.
void CCameraSource::RemovePartner() {
  if (GstPtr<GstPad> ghost = Adopt(gst_element_get_static_pad(GST_ELEMENT(m_pBin), "Video 2")))
    gst_element_remove_pad(GST_ELEMENT(m_pBin), ghost.get());
  for (const char* part : {"queue", "demuxer", "file"}) {
    const std::string name = std::string(kPartnerPrefix) + part;
    GstPtr<GstElement> child = Adopt(gst_bin_get_by_name(m_pBin, name.c_str()));
    if (!child) continue;
    gst_element_set_state(child.get(), GST_STATE_NULL);
    gst_bin_remove(m_pBin, child.get());
  }
}

GstElement* CCameraSource::AddChild(const char* factory, const std::string& name) {
  GstElement* element = gst_element_factory_make(factory, name.empty() ? nullptr : name.c_str());
  if (element) gst_bin_add(m_pBin, element);
  return element;
}

bool CCameraSource::BuildDemuxer(Input& input, const char* demuxFactory) {
  const std::string prefix = input.bPartner ? kPartnerPrefix : "";
  GstElement* file = AddChild("filesrc", prefix + "file");
  GstElement* demux = AddChild(demuxFactory, prefix + "demuxer");
  if (!file || !demux) return false;
  g_object_set(file, "location", input.strPath.c_str(), nullptr);
  g_signal_connect(demux, "pad-added", G_CALLBACK(PadAdded), &input);
  g_signal_connect(demux, "no-more-pads", G_CALLBACK(NoMorePads), &input);
  return gst_element_link(file, demux);
}

bool CCameraSource::WaitForStreams(Input& input) {
  std::unique_lock lock(m_mutex);
  const bool done = m_streamsKnown.wait_for(lock, kStreamsTimeout,
                                            [&input] { return input.bStreamsKnown || !input.strError.empty(); });
  const bool ok = done && input.strError.empty();
  if (!ok)
    std::fprintf(stderr, "vx880: %s: no streams: %s\n", input.strPath.c_str(),
                 done ? input.strError.c_str() : "timed out");
  return ok;
}

void CCameraSource::PadAdded(GstElement*, GstPad* pad, gpointer input) {
  auto* in = static_cast<Input*>(input);
  in->pOwner->OnPadAdded(*in, pad);
}

void CCameraSource::NoMorePads(GstElement*, gpointer input) {
  auto* in = static_cast<Input*>(input);
  in->pOwner->OnNoMorePads(*in);
}

// The recording's streams are named in the file's order; the partner gives its first video only.
void CCameraSource::OnPadAdded(Input& input, GstPad* demuxPad) {
  const std::string kind = MediaClass(demuxPad);
  std::string name;
  {
    std::lock_guard lock(m_mutex);
    if (input.bPartner) {
      if (kind == "video" && m_nVideoPads == 1) name = "Video " + std::to_string(++m_nVideoPads);
    } else {
      if (kind == "video") name = "Video " + std::to_string(++m_nVideoPads);
      if (kind == "audio" && !m_bAudioPad) name = "Audio";
      m_bAudioPad = m_bAudioPad || name == "Audio";
    }
  }
  if (!name.empty()) ExposeStream(input, demuxPad, name);
}

void CCameraSource::ExposeStream(Input& input, GstPad* demuxPad, const std::string& name) {
  GstElement* queue = AddChild("queue", input.bPartner ? std::string(kPartnerPrefix) + "queue" : std::string());
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
  gst_pad_add_probe(ghost, GST_PAD_PROBE_TYPE_EVENT_UPSTREAM, DropRepeatedSeek, &input, nullptr);
  if (input.bPartner) {
    gst_pad_add_probe(ghost, GST_PAD_PROBE_TYPE_QUERY_UPSTREAM, AnswerForTheFront, nullptr, nullptr);
    gst_pad_add_probe(queueSrc.get(),
                      GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM |
                                      GST_PAD_PROBE_TYPE_EVENT_FLUSH),
                      EndWithTheFront, &input, nullptr);
  }
  gst_pad_set_active(ghost, TRUE);
  if (!gst_element_add_pad(GST_ELEMENT(m_pBin), ghost))
    std::fprintf(stderr, "vx880: stream \"%s\" cannot be exposed\n", name.c_str());
}

// A pipeline hands a seek to each of its sinks, and each copy comes up its own stream with the same
// sequence number. Only the first goes on to each demuxer: avidemux would seek (and flush) once per copy.
GstPadProbeReturn CCameraSource::DropRepeatedSeek(GstPad*, GstPadProbeInfo* info, gpointer input) {
  GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
  if (GST_EVENT_TYPE(event) != GST_EVENT_SEEK) return GST_PAD_PROBE_OK;
  const guint32 seqnum = gst_event_get_seqnum(event);
  return static_cast<Input*>(input)->nLastSeek.exchange(seqnum) == seqnum ? GST_PAD_PROBE_DROP : GST_PAD_PROBE_OK;
}

// The position and the duration are the front's: the partner's stream does not answer for them, so a
// longer rear file cannot stretch the recording.
GstPadProbeReturn CCameraSource::AnswerForTheFront(GstPad*, GstPadProbeInfo* info, gpointer) {
  const GstQueryType type = GST_QUERY_TYPE(GST_PAD_PROBE_INFO_QUERY(info));
  return type == GST_QUERY_POSITION || type == GST_QUERY_DURATION ? GST_PAD_PROBE_DROP : GST_PAD_PROBE_OK;
}

// The front's end is the recording's: the partner's stream ends at the front's duration, however much of
// the rear file is left, under the sequence number of its segment (the seek's), which the pipeline's end
// message then carries. Runs on the partner's streaming thread only; a flush starts the stream afresh.
GstPadProbeReturn CCameraSource::EndWithTheFront(GstPad* pad, GstPadProbeInfo* info, gpointer input) {
  auto* in = static_cast<Input*>(input);
  if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER) {
    const GstClockTime end = in->pOwner->m_nFrontDuration;
    const GstClockTime at = gst_segment_to_stream_time(&in->segment, GST_FORMAT_TIME,
                                                       GST_BUFFER_PTS(GST_PAD_PROBE_INFO_BUFFER(info)));
    if (!in->bEndedWithFront && (!GST_CLOCK_TIME_IS_VALID(end) || !GST_CLOCK_TIME_IS_VALID(at) || at < end))
      return GST_PAD_PROBE_OK;
    if (!in->bEndedWithFront) {
      in->bEndedWithFront = true;
      GstEvent* eos = gst_event_new_eos();
      gst_event_set_seqnum(eos, in->nSegmentSeqnum);
      gst_pad_push_event(pad, eos);
    }
    return GST_PAD_PROBE_DROP;
  }
  GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
  if (GST_EVENT_TYPE(event) == GST_EVENT_SEGMENT) {
    gst_event_copy_segment(event, &in->segment);
    in->nSegmentSeqnum = gst_event_get_seqnum(event);
  }
  if (GST_EVENT_TYPE(event) == GST_EVENT_FLUSH_STOP) in->bEndedWithFront = false;
  return GST_PAD_PROBE_OK;
}

void CCameraSource::OnNoMorePads(Input& input) {
  std::lock_guard lock(m_mutex);
  input.bStreamsKnown = true;
  m_streamsKnown.notify_all();
}

bool CCameraSource::OnChildError(GstObject* child, const std::string& message) {
  const bool partner = child && g_str_has_prefix(GST_OBJECT_NAME(child), kPartnerPrefix);
  Input& input = m_inputs[partner ? 1 : 0];
  if (partner)
    std::fprintf(stderr, "vx880: warning: the rear file %s: %s; the front plays on\n", input.strPath.c_str(),
                 message.c_str());
  std::lock_guard lock(m_mutex);
  if (!input.bStreamsKnown && input.strError.empty()) {
    input.strError = message;
    m_streamsKnown.notify_all();
  }
  return !partner;
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
