// Opening and closing recordings, the next recording prepared and handed over at the open one's end, and the
// transport operations that combine several graph calls.
#include "engine/CPlaybackEngine.h"

#include <algorithm>
#include <utility>

#include "core/engine/ComponentCheck.h"
#include "engine/BranchElements.h"

namespace vx {

CPlaybackEngine::CPlaybackEngine(ElementLookup available)
    : m_available(available ? std::move(available) : ElementLookup(HasElementFactory)) {}

CPlaybackEngine::~CPlaybackEngine() {
  Close();
  if (m_worker.joinable()) m_worker.join();
}

void CPlaybackEngine::AttachWindows(IVideoWindow* front, IVideoWindow* rear) {
  m_windows = {2, front, rear};
  if (!m_pRecording) MakeCurrent(std::make_unique<CRecordingGraph>(m_windows, true));
}

int CPlaybackEngine::CheckComponents() const {
  if (!m_pRecording) return -1;
  return CheckComponentElements(m_available);
}

int CPlaybackEngine::Open(const std::string& path, const std::string& partnerPath) {
  if (!m_windows.pFront || path.empty()) return 0;
  std::unique_ptr<CRecordingGraph> prepared;
  if (path == m_strNextPath && partnerPath == m_strNextPartner) prepared = TakePrepared();
  if (prepared) {
    m_strNextPath.clear();
    if (m_pRecording) m_pRecording->StopPresenting();
    prepared->SetWindows(m_windows);
    prepared->SetVolume(m_fVolume);
    prepared->StartPresenting(true);
    MakeCurrent(std::move(prepared));
    return 1;
  }
  if (m_pRecording) {
    m_pRecording->Stop();
    SeekMs(0);
  }
  Close();
  auto recording = std::make_unique<CRecordingGraph>(m_windows, m_bTelemetryOption);
  // Anything but a complete graph is a failure: a half-built recording would never play.
  if (recording->BuildGraph(path, partnerPath) != S_OK) {
    recording->Teardown();
    return 0;
  }
  recording->SetVolume(m_fVolume);
  MakeCurrent(std::move(recording));
  return 1;
}

void CPlaybackEngine::SetVolume(double level) {
  m_fVolume = level;
  if (m_pRecording) m_pRecording->SetVolume(level);
  std::lock_guard lock(m_handOverMutex);
  if (m_pPrepared) m_pPrepared->SetVolume(level);
}

void CPlaybackEngine::Close() {
  DropPrepared();
  std::unique_ptr<CRecordingGraph> recording;
  {
    std::lock_guard lock(m_handOverMutex);
    recording = std::move(m_pRecording);
  }
  if (recording) recording->Teardown();
}

void CPlaybackEngine::MakeCurrent(std::unique_ptr<CRecordingGraph> graph) {
  const CRecordingGraph* current = graph.get();
  graph->SetEndListener([this, current](GstClockTime lastEnd) { OnRecordingEnded(current, lastEnd); });
  std::unique_ptr<CRecordingGraph> old;
  {
    std::lock_guard lock(m_handOverMutex);
    old = std::exchange(m_pRecording, std::move(graph));
  }
  if (old) Retire(std::move(old));
}

void CPlaybackEngine::SetHandOverListener(std::function<void()> handedOver) {
  std::lock_guard lock(m_handOverMutex);
  m_handedOver = std::move(handedOver);
}

// Built on the worker so that the open recording plays on undisturbed.
void CPlaybackEngine::PrepareNext(const std::string& path, const std::string& partnerPath) {
  const float rate = m_pRecording ? m_pRecording->Rate() : 1.0f;
  Prepare(path, partnerPath,
          [path, partnerPath, rate, volume = m_fVolume, windows = m_windows,
           telemetry = m_bTelemetryOption]() -> std::unique_ptr<CRecordingGraph> {
            auto graph = std::make_unique<CRecordingGraph>(windows, telemetry, false);
            if (graph->BuildGraph(path, partnerPath) != S_OK) {
              graph->Teardown();  // the owner opens it at the end as without a prepared one, and hears why it fails
              return nullptr;
            }
            graph->SetVolume(volume);
            graph->SetRate(rate);
            graph->ApplyRate();
            return graph;
          });
}

void CPlaybackEngine::TakeStartupRecording(std::shared_ptr<CStartupRecording> startup) {
  const std::string path = startup->Path();
  const std::string partnerPath = startup->PartnerPath();
  Prepare(path, partnerPath, [startup = std::move(startup)] { return startup->Take(); });
}

void CPlaybackEngine::Prepare(const std::string& path, const std::string& partnerPath, GraphBuild build) {
  DropPrepared();
  if (!m_windows.pFront || path.empty()) return;
  m_strNextPath = path;
  m_strNextPartner = partnerPath;
  std::uint64_t request = 0;
  {
    std::lock_guard lock(m_handOverMutex);
    request = ++m_nPreparation;
  }
  RunOnWorker([this, request, build = std::move(build)] {
    std::unique_ptr<CRecordingGraph> graph = build();
    if (!graph) return;
    std::unique_ptr<CRecordingGraph> unwanted;  // asked for no more: torn down outside the lock
    {
      std::lock_guard lock(m_handOverMutex);
      if (request == m_nPreparation) {
        m_pPrepared = std::move(graph);
      } else {
        unwanted = std::move(graph);
      }
    }
    if (unwanted) unwanted->Teardown();
  });
}

std::unique_ptr<CRecordingGraph> CPlaybackEngine::TakePrepared() {
  {
    std::lock_guard lock(m_handOverMutex);
    if (m_bHandedOver) return nullptr;
    if (m_pPrepared) return std::move(m_pPrepared);
  }
  if (m_worker.joinable()) m_worker.join();
  std::lock_guard lock(m_handOverMutex);
  return m_bHandedOver ? nullptr : std::move(m_pPrepared);
}

void CPlaybackEngine::DropPrepared() {
  m_strNextPath.clear();
  m_strNextPartner.clear();
  std::unique_ptr<CRecordingGraph> prepared;
  {
    std::lock_guard lock(m_handOverMutex);
    ++m_nPreparation;
    m_bHandedOver = false;
    prepared = std::move(m_pPrepared);
  }
  if (prepared) Retire(std::move(prepared));
}

// The sink has just shown the last picture; the next one's first picture is due when that one's display
// ends. A late end (a seek, a slow machine) starts it at once.
void CPlaybackEngine::OnRecordingEnded(const CRecordingGraph* ended, GstClockTime lastEnd) {
  std::lock_guard lock(m_handOverMutex);
  if (ended != m_pRecording.get() || !m_pPrepared || m_bHandedOver) return;
  if (GST_STATE_TARGET(ended->Pipeline()) != GST_STATE_PLAYING) return;
  GstPtr<GstClock> clock = Adopt(gst_system_clock_obtain());
  const GstClockTime now = gst_clock_get_time(clock.get());
  const GstClockTime due = GST_CLOCK_TIME_IS_VALID(lastEnd) ? gst_element_get_base_time(ended->Pipeline()) + lastEnd : now;
  m_pPrepared->StartAt(std::max(due, now));
  m_pRecording->StopPresenting();  // a longer rear stream of the old one must not cover the new one's
  m_bHandedOver = true;
  if (m_handedOver) m_handedOver();
}

bool CPlaybackEngine::CompleteHandOver() {
  std::unique_ptr<CRecordingGraph> next;
  {
    std::lock_guard lock(m_handOverMutex);
    if (!m_bHandedOver) return false;
    m_bHandedOver = false;
    ++m_nPreparation;
    next = std::move(m_pPrepared);
  }
  m_strNextPath.clear();
  next->AdoptStarted();
  MakeCurrent(std::move(next));
  return true;
}

// Each job starts after the one before it has finished, without the caller waiting for either.
void CPlaybackEngine::RunOnWorker(std::function<void()> job) {
  m_worker = std::thread([previous = std::move(m_worker), job = std::move(job)]() mutable {
    if (previous.joinable()) previous.join();
    job();
  });
}

void CPlaybackEngine::Retire(std::unique_ptr<CRecordingGraph> graph) {
  graph->StopPresenting();
  graph->SetEndListener({});
  std::shared_ptr<CRecordingGraph> retired(std::move(graph));
  RunOnWorker([retired] { retired->Teardown(); });
}

int CPlaybackEngine::ChangeRate(float rate) {
  if (!m_pRecording) return 0;
  const bool wasRunning = m_pRecording->State() == EngineState::Running;
  const bool changed = rate != m_pRecording->Rate();
  m_pRecording->Pause();
  m_pRecording->SetRate(rate);
  if (wasRunning) m_pRecording->Run();
  // The prepared recording would start at the old rate: it is cued again at the new one.
  if (changed && !m_strNextPath.empty()) PrepareNext(std::string(m_strNextPath), std::string(m_strNextPartner));
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
