// Opening and closing recordings, and the transport operations that combine several graph calls.
#include "engine/CPlaybackEngine.h"

#include "core/engine/ComponentCheck.h"
#include "engine/BranchElements.h"

namespace vx {

CPlaybackEngine::CPlaybackEngine(ElementLookup available)
    : m_available(available ? std::move(available) : ElementLookup(HasElementFactory)) {}

CPlaybackEngine::~CPlaybackEngine() { Close(); }

void CPlaybackEngine::AttachWindows(IVideoWindow* front, IVideoWindow* rear) {
  m_windows = {2, front, rear};
  if (!m_pRecording) m_pRecording = std::make_unique<CRecordingGraph>(m_windows, true);
}

int CPlaybackEngine::CheckComponents() const {
  if (!m_pRecording) return -1;
  return CheckComponentElements(m_available);
}

int CPlaybackEngine::Open(const std::string& path, const std::string& partnerPath) {
  if (!m_windows.pFront || path.empty()) return 0;
  if (m_pRecording) {
    m_pRecording->Stop();
    SeekMs(0);
  }
  Close();
  m_pRecording = std::make_unique<CRecordingGraph>(m_windows, m_bTelemetryOption);
  // Anything but a complete graph is a failure: a half-built recording would never play.
  if (m_pRecording->BuildGraph(path, partnerPath) != S_OK) {
    Close();
    return 0;
  }
  m_pRecording->SetVolume(m_fVolume);
  return 1;
}

void CPlaybackEngine::SetVolume(double level) {
  m_fVolume = level;
  if (m_pRecording) m_pRecording->SetVolume(level);
}

void CPlaybackEngine::Close() {
  if (!m_pRecording) return;
  m_pRecording->Teardown();
  m_pRecording.reset();
}

int CPlaybackEngine::ChangeRate(float rate) {
  if (!m_pRecording) return 0;
  const bool wasRunning = m_pRecording->State() == EngineState::Running;
  m_pRecording->Pause();
  m_pRecording->SetRate(rate);
  if (wasRunning) m_pRecording->Run();
  return 1;
}

std::int64_t CPlaybackEngine::GetDurationMs() {
  if (!m_pRecording) return 0;
  RefTime duration = 0;
  m_pRecording->GetDuration(duration);
  return RefTimeToMs(duration);
}

// The renderers keep their last picture, so showing it again needs no seek.
int CPlaybackEngine::RefreshFrame() {
  if (!m_pRecording || m_pRecording->State() == EngineState::Running) return 1;
  RefTime position = 0;
  if (!Succeeded(m_pRecording->GetPosition(position))) return 0;
  m_pRecording->UpdateVideoWindows();
  return 1;
}

int CPlaybackEngine::SeekMs(std::int32_t ms) {
  if (!m_pRecording || !m_pRecording->HasGraph()) return 1;
  return Succeeded(m_pRecording->SetPosition(static_cast<RefTime>(ms) * kRefTimePerMs)) ? 1 : 0;
}

int CPlaybackEngine::SkipBack(double seconds) { return Skip(-seconds); }

int CPlaybackEngine::SkipForward(double seconds) { return Skip(seconds); }

int CPlaybackEngine::StepFrame(bool forward) {
  return m_pRecording && m_pRecording->StepFrame(forward) == S_OK ? 1 : 0;
}

int CPlaybackEngine::Skip(double seconds) {
  if (!m_pRecording || !CanSkip(m_pRecording->State())) return 0;
  RefTime position = 0;
  RefTime duration = 0;
  if (!Succeeded(m_pRecording->GetPosition(position))) return 0;
  if (!Succeeded(m_pRecording->GetDuration(duration)) && seconds > 0) return 0;
  const RefTime target = SkipTarget(position, seconds, duration);
  return Succeeded(m_pRecording->SetPosition(target)) ? 1 : 0;
}

int CPlaybackEngine::GrabFrame(int channel, QImage& bitmap) const {
  const CVideoRenderer* renderer = m_pRecording ? m_pRecording->Renderer(channel) : nullptr;
  if (!renderer) return 0;
  QImage frame = renderer->GrabFrame();
  if (frame.isNull()) return 0;
  bitmap = std::move(frame);
  return 1;
}

}  // namespace vx
