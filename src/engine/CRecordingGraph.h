// One opened recording: its GStreamer pipeline, the elements that the graph owns, and its transport.
#pragma once

#include <gst/gst.h>

#include <array>
#include <memory>
#include <string>

#include "core/common/Result.h"
#include "core/engine/EngineState.h"
#include "core/engine/GraphLayout.h"
#include "engine/CPipelineBus.h"
#include "engine/CVideoRenderer.h"
#include "engine/GstPtr.h"

namespace vx {

class CCameraSource;
class ITelemetrySource;

// The render windows the engine hands to each recording object.
struct RecordingWindows {
  int nCount = 0;
  IVideoWindow* pFront = nullptr;
  IVideoWindow* pRear = nullptr;
};

enum class SeekMode { Accurate, KeyUnit };

// A seek that was made but not answered in time.
inline constexpr HRESULT VFW_E_TIMEOUT = static_cast<HRESULT>(0x8004022Eu);

class CRecordingGraph {
 public:
  // A graph that is not `presenting` keeps its pictures from the windows until it takes them over
  // (StartPresenting, StartAt): it can be built and cued while another recording plays in them.
  CRecordingGraph(const RecordingWindows& windows, bool telemetryFlag, bool presenting = true);
  ~CRecordingGraph();
  CRecordingGraph(const CRecordingGraph&) = delete;
  CRecordingGraph& operator=(const CRecordingGraph&) = delete;

  // S_OK built and cued on its first frame; 1 refused (no path, file not loaded, no graph for its
  // streams); a negative result when an element could not be made or the first frame never came.
  // `partnerPath`: the rear camera's file of the same moment, played as the second stream; empty for none.
  HRESULT BuildGraph(const std::string& path, const std::string& partnerPath = {});
  // Stops the pipeline and removes the elements in a fixed order; the state becomes Stopped.
  void Teardown();

  // Transport: see RecordingTransport.cpp.
  HRESULT Run();
  HRESULT Pause();
  HRESULT Stop();
  // S_OK at the new position (or the end); E_FAIL refused, nothing changed; VFW_E_TIMEOUT made but not
  // answered in time: the position reads `t` until the answer comes.
  HRESULT SetPosition(RefTime t, SeekMode mode = SeekMode::Accurate);
  // One picture forward (`forward`) or back, paused or stopped: both views follow, and the position is then
  // the shown picture's time until the next seek or play. S_OK on the new picture; S_FALSE at the first or
  // last picture, where nothing moves; VFW_E_WRONG_STATE while running or without a graph; E_FAIL and
  // VFW_E_TIMEOUT as SetPosition.
  HRESULT StepFrame(bool forward);
  HRESULT GetPosition(RefTime& t);
  HRESULT GetDuration(RefTime& t);
  HRESULT Repaint();
  HRESULT UpdateVideoWindows();
  // Plays at the rate set with SetRate: one seek at the current position when the rate differs from the
  // one applied (a rate seek answered late still takes effect).
  HRESULT ApplyRate();

  // The windows of a graph built before they existed (owner's thread, before it presents).
  void SetWindows(const RecordingWindows& windows);
  // Taking over the windows from a graph that plays in them.
  void StartPresenting(bool showKept);
  void StopPresenting();
  // From any thread, on a cued graph: plays with its running time 0 at `baseTime` of the shared clock, its
  // pictures going to the windows. The owner then calls AdoptStarted on its own thread.
  void StartAt(GstClockTime baseTime);
  // After StartAt: the graph is running and pauses and resumes as one started by Run.
  void AdoptStarted();
  // Tells `listener` when the front stream ends (see CVideoRenderer::EndListener); empty to stop telling.
  void SetEndListener(CVideoRenderer::EndListener listener);

  // The sound level of this recording's stream, 0 (silent) to 1 (full); a file without sound ignores it.
  void SetVolume(double level);

  EngineState State() const { return m_state; }
  float Rate() const { return m_fRate; }
  void SetRate(float rate) { m_fRate = rate; }
  int VideoStreamCount() const { return m_nVideoStreams; }
  bool HasGraph() const { return static_cast<bool>(m_pPipeline); }
  // The camera source's telemetry, null when no source was loaded.
  ITelemetrySource* TelemetrySource() const;
  // The renderer of channel 0 (front) or 1 (rear); null when that channel has none.
  const CVideoRenderer* Renderer(int channel) const;
  GstElement* Pipeline() const { return m_pPipeline.get(); }
  const std::string& FilePath() const { return m_strPath; }

 private:
  HRESULT AddElements(const std::vector<GraphStep>& layout, GstCaps* videoCaps[2], bool pcm);
  bool AddElement(const GraphStep& step, GstCaps* caps, bool pcm);
  void LinkBranches(int audioCount);
  HRESULT Cue();
  HRESULT Seek(RefTime t, float rate, SeekMode mode);
  HRESULT StepForward(const ShownFrame& shown, std::int64_t nextNs);
  // Waits for the answer of the seek or step `seqnum` (sent already) from the front renderer and for the
  // other sinks to settle; `t` is the position meanwhile.
  HRESULT AwaitAnswer(guint32 seqnum, RefTime t, bool toTheEnd);
  GstElement* Element(GraphRole role) const { return m_elements[static_cast<int>(role)].get(); }

  RecordingWindows m_windows;
  bool m_bTelemetry;
  bool m_bPresenting;  // whether the renderers it makes show their pictures at once
  GstPtr<GstElement> m_pPipeline;
  std::unique_ptr<CPipelineBus> m_pBus;
  std::array<GstPtr<GstElement>, 9> m_elements;  // by GraphRole
  std::array<std::unique_ptr<CVideoRenderer>, 2> m_renderers;
  CCameraSource* m_pSource = nullptr;  // the C++ side of the source element
  bool m_bGraphBuilt = false;
  float m_fRate = 1.0f;
  float m_fAppliedRate = 1.0f;
  RefTime m_nSoughtPosition = 0;  // the position while the last seek awaits its answer
  bool m_bShowsStep = false;       // a frame step placed the picture: the position is that picture's time
  RefTime m_nDuration = 0;
  EngineState m_state = EngineState::Closed;
  int m_nVideoStreams = 0;
  std::string m_strPath;
};

}  // namespace vx
