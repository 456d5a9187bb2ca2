// Play, pause, stop, seeking, position and duration of an opened recording, in 100 ns units.
#include "engine/CRecordingGraph.h"

namespace vx {

namespace {

// Longest wait for the frame at a new position. A seek past the data that exists brings no frame
// and, while paused, no end message either: after this long the recording counts as ended.
constexpr std::chrono::milliseconds kSeekTimeout{2000};
constexpr std::chrono::milliseconds kFrameAfterPrerollTimeout{250};

}  // namespace

HRESULT CRecordingGraph::Run() {
  if (!CanRun(m_state)) return VFW_E_WRONG_STATE;
  RefTime position = 0;
  RefTime duration = 0;
  GetPosition(position);
  GetDuration(duration);
  if (IsAtEnd(position, duration) && HasGraph()) SetPosition(0);
  m_fRate = ClampRate(m_fRate);
  if (m_fRate != m_fAppliedRate) {
    GetPosition(position);
    if (const HRESULT hr = Seek(position, m_fRate, SeekMode::Accurate); hr != S_OK) return hr;
  }
  if (gst_element_set_state(m_pPipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) return E_FAIL;
  m_state = EngineState::Running;
  return S_OK;
}

HRESULT CRecordingGraph::Pause() {
  if (!HasGraph()) return -1;
  gst_element_set_state(m_pPipeline.get(), GST_STATE_PAUSED);
  m_state = EngineState::Paused;
  return S_OK;
}

// Stopped keeps the position and the picture, as paused does; only the state differs.
HRESULT CRecordingGraph::Stop() {
  if (!CanStop(m_state)) return VFW_E_WRONG_STATE;
  gst_element_set_state(m_pPipeline.get(), GST_STATE_PAUSED);
  m_state = EngineState::Stopped;
  return S_OK;
}

HRESULT CRecordingGraph::SetPosition(RefTime t, SeekMode mode) {
  if (!m_bGraphBuilt) return VFW_E_WRONG_STATE;
  return Seek(t, m_fAppliedRate, mode);
}

// A flushing seek, then the frame at the new position (or the end) before it returns.
HRESULT CRecordingGraph::Seek(RefTime t, float rate, SeekMode mode) {
  const RefTime target = std::max<RefTime>(t, 0);
  const auto flags = GstSeekFlags(GST_SEEK_FLAG_FLUSH |
                                  (mode == SeekMode::Accurate ? GST_SEEK_FLAG_ACCURATE : GST_SEEK_FLAG_KEY_UNIT));
  m_pBus->Reset();
  if (!gst_element_seek(m_pPipeline.get(), rate, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET, RefTimeToNs(target),
                        GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE))
    return E_FAIL;
  m_fAppliedRate = rate;
  const auto deadline = std::chrono::steady_clock::now() + kSeekTimeout;
  const std::uint64_t frames = m_renderers[0]->FrameCount();
  const bool prerolled = m_pBus->WaitForPreroll(kSeekTimeout);
  // The pipeline may report its preroll a moment before the front picture is handed over; after a
  // seek past the data it prerolls on the end, without a picture.
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  const bool newFrame = m_renderers[0]->WaitForFrameAfter(frames, std::min(left, kFrameAfterPrerollTimeout));
  m_bNoFrameAfterSeek = !prerolled || !newFrame;
  return S_OK;
}

bool CRecordingGraph::AtEnd() const { return m_bNoFrameAfterSeek || (m_pBus && m_pBus->Ended()); }

HRESULT CRecordingGraph::GetPosition(RefTime& t) {
  if (!HasGraph()) return S_OK;
  m_pBus->Pump();
  if (AtEnd()) return GetDuration(t);
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
