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

HRESULT CRecordingGraph::ApplyRate() {
  m_fRate = ClampRate(m_fRate);
  if (m_fRate == m_fAppliedRate) return S_OK;
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
  m_pBus->ExpectSeek(seqnum, m_renderers[0]->Element(), toTheEnd);
  m_fAppliedRate = rate;
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

HRESULT CRecordingGraph::GetPosition(RefTime& t) {
  if (!HasGraph()) return S_OK;
  m_pBus->Pump();
  if (m_pBus->Ended()) return GetDuration(t);
  if (m_pBus->SeekPending()) {
    t = m_nSoughtPosition;
    return S_OK;
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
