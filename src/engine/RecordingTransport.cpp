// Play, pause, stop, seeking, position and duration of an opened recording, in 100 ns units.
#include "engine/CRecordingGraph.h"

#include <algorithm>

#include "engine/BranchElements.h"

namespace vx {

namespace {

// A seek is answered by the front renderer with the picture at the new position or with the end of
// its stream, normally within milliseconds. A busy machine or a pipeline that stopped answering (a
// damaged file) reaches this limit; the seek then fails, yet it was made: the position stays the one
// sought until the answer comes, so nothing waits forever and nothing mistakes the wait for the end.
constexpr std::chrono::milliseconds kSeekAnswerLimit{2000};

}  // namespace

HRESULT CRecordingGraph::Run() {
  if (!CanRun(m_state) || !m_bGraphBuilt) return VFW_E_WRONG_STATE;
  RefTime position = 0;
  RefTime duration = 0;
  GetPosition(position);
  GetDuration(duration);
  if (IsAtEnd(position, duration)) SetPosition(0);
  if (const HRESULT hr = ApplyRate(); hr != S_OK) return hr;
  if (gst_element_set_state(m_pPipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) return E_FAIL;
  m_state = EngineState::Running;
  return S_OK;
}

// Frame steps move the video sinks alone, and sound would lag them by the steps made: one seek to the shown
// picture puts every stream back on the same time, as a change of rate does.
HRESULT CRecordingGraph::ApplyRate() {
  m_fRate = ClampRate(m_fRate);
  if (m_fRate == m_fAppliedRate && !m_bShowsStep) return S_OK;
  RefTime position = 0;
  GetPosition(position);
  const HRESULT hr = Seek(position, m_fRate, SeekMode::Accurate);
  return hr == VFW_E_TIMEOUT ? S_OK : hr;
}

// The pipeline leaves its base time alone while its start time is unset, so the running time starts at the
// given moment however long the state change takes.
void CRecordingGraph::StartAt(GstClockTime baseTime) {
  gst_element_set_start_time(m_pPipeline.get(), GST_CLOCK_TIME_NONE);
  gst_element_set_base_time(m_pPipeline.get(), baseTime);
  for (auto& renderer : m_renderers)
    if (renderer) renderer->StartPresenting(false);  // the kept first picture comes again, on time
  gst_element_set_state(m_pPipeline.get(), GST_STATE_PLAYING);
}

// With a start time again, the pipeline keeps its running time across pauses.
void CRecordingGraph::AdoptStarted() {
  gst_element_set_start_time(m_pPipeline.get(), 0);
  m_state = EngineState::Running;
}

HRESULT CRecordingGraph::Pause() {
  if (!HasGraph()) return -1;
  gst_element_set_state(m_pPipeline.get(), GST_STATE_PAUSED);
  m_state = EngineState::Paused;
  return S_OK;
}

// Stopped keeps the position and the picture, as paused does; only the state differs.
HRESULT CRecordingGraph::Stop() {
  if (!CanStop(m_state) || !HasGraph()) return VFW_E_WRONG_STATE;
  gst_element_set_state(m_pPipeline.get(), GST_STATE_PAUSED);
  m_state = EngineState::Stopped;
  return S_OK;
}

HRESULT CRecordingGraph::SetPosition(RefTime t, SeekMode mode) {
  if (!m_bGraphBuilt) return VFW_E_WRONG_STATE;
  return Seek(t, m_fAppliedRate, mode);
}

// One flushing seek event; the call returns once the front renderer has answered that very seek (its
// sequence number) with a picture or the end, and the pipeline has settled on the new position.
// E_FAIL when the pipeline refused the seek (nothing changed), VFW_E_TIMEOUT when it has not answered
// within the limit.
HRESULT CRecordingGraph::Seek(RefTime t, float rate, SeekMode mode) {
  t = std::max<RefTime>(t, 0);
  m_bShowsStep = false;
  const auto flags = GstSeekFlags(GST_SEEK_FLAG_FLUSH |
                                  (mode == SeekMode::Accurate ? GST_SEEK_FLAG_ACCURATE : GST_SEEK_FLAG_KEY_UNIT));
  GstPtr<GstEvent> seek = Adopt(gst_event_new_seek(rate, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET, RefTimeToNs(t),
                                                   GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE));
  const guint32 seqnum = gst_event_get_seqnum(seek.get());
  RefTime duration = 0;
  const bool toTheEnd = !Succeeded(GetDuration(duration)) || t >= duration;
  // What the bus holds belongs to the position before the seek; the seek's own answers stay queued
  // until it is expected.
  m_pBus->Pump();
  if (!gst_element_send_event(m_pPipeline.get(), seek.release())) return E_FAIL;
  m_fAppliedRate = rate;
  return AwaitAnswer(seqnum, t, toTheEnd);
}

HRESULT CRecordingGraph::AwaitAnswer(guint32 seqnum, RefTime t, bool toTheEnd) {
  m_pBus->ExpectSeek(seqnum, m_renderers[0]->Element(), toTheEnd);
  m_nSoughtPosition = t;
  const auto start = std::chrono::steady_clock::now();
  if (m_pBus->WaitForSeekAnswer(kSeekAnswerLimit) == SeekAnswer::NoAnswer) return VFW_E_TIMEOUT;
  // The other sinks preroll on the same seek; until they have, the pipeline's position is theirs.
  const auto left = kSeekAnswerLimit - (std::chrono::steady_clock::now() - start);
  gst_element_get_state(m_pPipeline.get(), nullptr, nullptr,
                        static_cast<GstClockTime>(std::max<std::int64_t>(
                            0, std::chrono::duration_cast<std::chrono::nanoseconds>(left).count())));
  return S_OK;
}

// Forward, a step event to each video sink, which shows the next picture at once: no flush, no decoding
// from a key frame. Back, an accurate seek into the picture before, which the decoder reaches from the key
// frame before it.
HRESULT CRecordingGraph::StepFrame(bool forward) {
  if (!m_bGraphBuilt || m_state == EngineState::Running) return VFW_E_WRONG_STATE;
  const std::optional<ShownFrame> shown = m_renderers[0]->LastFrameTime();
  if (!shown) return E_FAIL;
  HRESULT hr = S_FALSE;
  if (forward) {
    RefTime duration = 0;
    GetDuration(duration);
    if (const std::optional<std::int64_t> next = NextFrameTime(*shown, RefTimeToNs(duration))) hr = StepForward(*shown, *next);
  } else if (const std::optional<std::int64_t> target = PreviousFrameSeekTime(*shown)) {
    hr = Seek(NsToRefTime(*target), m_fAppliedRate, SeekMode::Accurate);
  }
  m_bShowsStep = m_bShowsStep || hr == S_OK;
  return hr;
}

HRESULT CRecordingGraph::StepForward(const ShownFrame& shown, std::int64_t nextNs) {
  m_pBus->Pump();
  const auto step = [](GstFormat format, std::int64_t amount) {
    return Adopt(gst_event_new_step(format, static_cast<guint64>(amount), 1.0, TRUE, FALSE));
  };
  GstPtr<GstEvent> front = step(GST_FORMAT_BUFFERS, 1);
  const guint32 seqnum = gst_event_get_seqnum(front.get());
  // The renderer may hand over the next picture before send_event returns: it expects the step first.
  m_renderers[0]->ExpectStep(seqnum);
  if (!gst_element_send_event(m_renderers[0]->Element(), front.release())) return E_FAIL;
  // The source pushes every stream from one thread: a sound sink that keeps its paused sample blocks it
  // about a second later, and no video follows. The sound steps by the picture's time and stays in step.
  GstElement* const others[] = {Renderer(1) ? Renderer(1)->Element() : nullptr, Element(GraphRole::AudioRenderer)};
  for (GstElement* sink : others) {
    if (!sink) continue;
    GstPtr<GstEvent> follow = sink == others[0] ? step(GST_FORMAT_BUFFERS, 1) : step(GST_FORMAT_TIME, shown.durationNs);
    gst_event_set_seqnum(follow.get(), seqnum);
    gst_element_send_event(sink, follow.release());
  }
  return AwaitAnswer(seqnum, NsToRefTime(nextNs), false);
}

HRESULT CRecordingGraph::GetPosition(RefTime& t) {
  if (!HasGraph()) return S_OK;
  m_pBus->Pump();
  if (m_pBus->Ended()) return GetDuration(t);
  if (m_pBus->SeekPending()) {
    t = m_nSoughtPosition;
    return S_OK;
  }
  if (m_bShowsStep && m_state != EngineState::Running) {
    if (const std::optional<ShownFrame> shown = m_renderers[0]->LastFrameTime()) {
      // Rounded up to whole units, so that a seek to the position (playing on) lands in this picture.
      t = NsToRefTime(shown->timeNs + RefTimeToNs(1) - 1);
      return S_OK;
    }
  }
  gint64 ns = 0;
  if (!gst_element_query_position(m_pPipeline.get(), GST_FORMAT_TIME, &ns) || ns < 0) return E_FAIL;
  t = NsToRefTime(ns);
  return S_OK;
}

HRESULT CRecordingGraph::GetDuration(RefTime& t) {
  if (!HasGraph()) return S_OK;
  if (m_nDuration != 0) {
    t = m_nDuration;
    return S_OK;
  }
  gint64 ns = 0;
  if (!gst_element_query_duration(m_pPipeline.get(), GST_FORMAT_TIME, &ns) || ns <= 0) return E_FAIL;
  m_nDuration = t = NsToRefTime(ns);
  return S_OK;
}

void CRecordingGraph::SetVolume(double level) {
  GstElement* renderer = Element(GraphRole::AudioRenderer);
  GstPtr<GstElement> volume = Adopt(renderer ? gst_bin_get_by_name(GST_BIN(renderer), kSoundLevelName) : nullptr);
  if (volume) g_object_set(volume.get(), "volume", std::clamp(level, 0.0, 1.0), nullptr);
}

HRESULT CRecordingGraph::Repaint() {
  if (!m_renderers[0]) return S_OK;
  m_renderers[0]->Repaint();
  return S_OK;
}

// The views stretch the picture to their size on every paint, so fitting is repainting.
HRESULT CRecordingGraph::UpdateVideoWindows() {
  for (int channel = 0; channel < m_windows.nCount; ++channel)
    if (const CVideoRenderer* renderer = Renderer(channel)) renderer->Repaint();
  return S_OK;
}

}  // namespace vx
