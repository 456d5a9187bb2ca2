// Building and tearing down the pipeline of one recording.
//
// One video stream (sound compressed; PCM goes from "Audio" straight to the sound renderer):
//
//   MxStreamParseFilter --Audio---> COREAAC AUDIO --> DirectSound Audio Renderer
//                       --Video 1-> FFDShow Decoder1 --> Color Space Convertor 1 --> Mixing Renderer9
//
// Two video streams (front first, in the file's order):
//
//   MxStreamParseFilter --Audio---> CoreAAC Decoder --> DirectSound Audio Renderer
//                       --Video 1-> FFDShow Decoder1 --> Color Space Convertor 1 --> Mixing Renderer9-1
//                       --Video 2-> FFDShow Decoder2 --> Color Space Convertor 2 --> Mixing Renderer9-2
//
// A front file with a partner (the rear camera's file of the same moment) is built as two streams: the
// source reads both files and gives the partner's video as "Video 2".
//
// Elements are added in the layout's order (GraphLayout); every one of them is held by the graph.
#include "engine/CRecordingGraph.h"

#include <cstdio>

#include "engine/BranchElements.h"
#include "engine/CCameraSource.h"

namespace vx {

namespace {

// Longest wait for the first frame of a freshly built graph. With the source's wait for its streams a
// build never takes more than 4.5 s, however damaged the file; Open adds the old recording's rewind.
constexpr std::chrono::milliseconds kCueTimeout{2500};

constexpr GraphRole kTeardownOrder[] = {GraphRole::AudioRenderer, GraphRole::Renderer1,    GraphRole::Renderer2,
                                        GraphRole::VideoDecoder1, GraphRole::VideoDecoder2, GraphRole::AudioDecoder,
                                        GraphRole::Source,        GraphRole::Converter1,   GraphRole::Converter2};

GstPtr<GstCaps> PadCaps(GstElement* element, const char* padName) {
  GstPtr<GstPad> pad = Adopt(gst_element_get_static_pad(element, padName));
  return pad ? Adopt(gst_pad_query_caps(pad.get(), nullptr)) : nullptr;
}

bool IsPcm(GstCaps* caps) {
  return caps && !gst_caps_is_empty(caps) &&
         std::string(gst_structure_get_name(gst_caps_get_structure(caps, 0))) == "audio/x-raw";
}

// The source's output pads by name, each with whether its first caps are PCM. A pad list that changes
// while it is read is read again from the start.
std::vector<SourcePadInfo> ListSourcePads(GstElement* source) {
  std::vector<SourcePadInfo> pads;
  GstPtr<GstIterator> it = Adopt(gst_element_iterate_src_pads(source));
  GValue item = G_VALUE_INIT;
  for (;;) {
    const GstIteratorResult result = gst_iterator_next(it.get(), &item);
    if (result == GST_ITERATOR_RESYNC) {
      gst_iterator_resync(it.get());
      pads.clear();
      continue;
    }
    if (result != GST_ITERATOR_OK) {
      if (result == GST_ITERATOR_ERROR) {
        std::fprintf(stderr, "vx880: the source's pads cannot be listed\n");
        pads.clear();
      }
      break;
    }
    auto* pad = static_cast<GstPad*>(g_value_get_object(&item));
    GstPtr<GstCaps> caps = Adopt(gst_pad_query_caps(pad, nullptr));
    pads.push_back({GST_PAD_NAME(pad), IsPcm(caps.get())});
    g_value_reset(&item);
  }
  g_value_unset(&item);
  return pads;
}

void Link(GstElement* from, const char* fromPad, GstElement* to) {
  if (from && to && !gst_element_link_pads(from, fromPad, to, nullptr))
    std::fprintf(stderr, "vx880: cannot link %s to %s\n", GST_ELEMENT_NAME(from), GST_ELEMENT_NAME(to));
}

}  // namespace

CRecordingGraph::CRecordingGraph(const RecordingWindows& windows, bool telemetryFlag, bool presenting)
    : m_windows(windows), m_bTelemetry(telemetryFlag), m_bPresenting(presenting) {}

CRecordingGraph::~CRecordingGraph() { Teardown(); }

HRESULT CRecordingGraph::BuildGraph(const std::string& path, const std::string& partnerPath) {
  if (m_bGraphBuilt) Teardown();
  if (path.empty()) return 1;
  m_strPath = path;
  m_pPipeline = Retain(gst_pipeline_new("VX-880QN recording"));
  // Every recording runs on the one system clock, so that the running times of a recording that ends and
  // of the one that follows it can be laid end to end.
  GstPtr<GstClock> clock = Adopt(gst_system_clock_obtain());
  gst_pipeline_use_clock(GST_PIPELINE(m_pPipeline.get()), clock.get());
  m_pBus = std::make_unique<CPipelineBus>(m_pPipeline.get(), path);
  if (!AddElement({GraphRole::Source, kSourceName}, nullptr, false)) return E_FAIL;
  m_pSource = CCameraSource::From(Element(GraphRole::Source));
  m_pSource->SetOption(m_bTelemetry ? 1 : 0);
  if (!Succeeded(m_pSource->Load(path, partnerPath))) return 1;

  const std::vector<SourcePadInfo> pads = ListSourcePads(Element(GraphRole::Source));
  m_nVideoStreams = CountVideoPads(pads);
  const int audioCount = CountAudioPads(pads);
  const std::vector<GraphStep> layout = GraphLayout(m_nVideoStreams, audioCount);
  if (layout.empty()) {
    std::fprintf(stderr, "vx880: %s: %d video streams, cannot play\n", path.c_str(), m_nVideoStreams);
    return 1;
  }
  GstPtr<GstCaps> video1 = PadCaps(Element(GraphRole::Source), "Video 1");
  GstPtr<GstCaps> video2 = PadCaps(Element(GraphRole::Source), "Video 2");
  GstCaps* videoCaps[2] = {video1.get(), video2.get()};
  if (const HRESULT hr = AddElements(layout, videoCaps, audioCount >= kPcmAudioWeight); hr != S_OK) return hr;
  LinkBranches(audioCount);
  if (const HRESULT hr = Cue(); hr != S_OK) return hr;
  m_nDuration = 0;
  RefTime duration = 0;
  GetDuration(duration);
  m_bGraphBuilt = true;
  DumpPipelineGraph(m_pPipeline.get(), "vx880-built");
  return S_OK;
}

HRESULT CRecordingGraph::AddElements(const std::vector<GraphStep>& layout, GstCaps* videoCaps[2], bool pcm) {
  for (const GraphStep& step : layout) {
    if (step.role == GraphRole::Source) continue;
    GstCaps* caps = step.role == GraphRole::VideoDecoder2 ? videoCaps[1] : videoCaps[0];
    if (AddElement(step, caps, pcm)) continue;
    // Without a sound renderer the recording still plays, silently.
    if (step.role != GraphRole::AudioRenderer) return E_FAIL;
  }
  return S_OK;
}

bool CRecordingGraph::AddElement(const GraphStep& step, GstCaps* caps, bool pcm) {
  GstPtr<GstElement> element;
  if (step.role == GraphRole::Renderer1 || step.role == GraphRole::Renderer2) {
    const int channel = step.role == GraphRole::Renderer1 ? 0 : 1;
    auto renderer = std::make_unique<CVideoRenderer>(step.name.c_str(), channel ? m_windows.pRear : m_windows.pFront,
                                                     m_bPresenting);
    if (renderer->Element()) element.reset(static_cast<GstElement*>(gst_object_ref(renderer->Element())));
    m_renderers[channel] = std::move(renderer);
  } else {
    element = MakeBranchElement(step.role, step.name, caps, pcm);
  }
  if (!element || !gst_bin_add(GST_BIN(m_pPipeline.get()), element.get())) {
    std::fprintf(stderr, "vx880: cannot add %s\n", step.name.c_str());
    return false;
  }
  m_elements[static_cast<int>(step.role)] = std::move(element);
  return true;
}

void CRecordingGraph::LinkBranches(int audioCount) {
  GstElement* source = Element(GraphRole::Source);
  GstElement* audioRenderer = Element(GraphRole::AudioRenderer);
  if (audioRenderer && audioCount < kPcmAudioWeight) {
    Link(source, "Audio", Element(GraphRole::AudioDecoder));
    Link(Element(GraphRole::AudioDecoder), nullptr, audioRenderer);
  } else if (audioRenderer) {
    Link(source, "Audio", audioRenderer);
  }
  Link(source, "Video 1", Element(GraphRole::VideoDecoder1));
  Link(Element(GraphRole::VideoDecoder1), nullptr, Element(GraphRole::Converter1));
  Link(Element(GraphRole::Converter1), nullptr, Element(GraphRole::Renderer1));
  Link(source, "Video 2", Element(GraphRole::VideoDecoder2));
  Link(Element(GraphRole::VideoDecoder2), nullptr, Element(GraphRole::Converter2));
  Link(Element(GraphRole::Converter2), nullptr, Element(GraphRole::Renderer2));
}

// Prerolls the pipeline: the first frame of each stream reaches its renderer, nothing plays yet.
HRESULT CRecordingGraph::Cue() {
  m_pBus->ExpectPreroll();
  if (gst_element_set_state(m_pPipeline.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) return E_FAIL;
  m_pSource->StartStreaming();
  if (!m_pBus->WaitForPreroll(kCueTimeout)) {
    std::fprintf(stderr, "vx880: %s: no first frame\n", m_strPath.c_str());
    DumpPipelineGraph(m_pPipeline.get(), "vx880-no-first-frame");
    return E_FAIL;
  }
  m_state = EngineState::Stopped;
  return S_OK;
}

void CRecordingGraph::Teardown() {
  if (!m_pPipeline) return;
  gst_element_set_state(m_pPipeline.get(), GST_STATE_NULL);
  if (m_pSource) m_pSource->Shutdown();  // a source whose build ended before it was handed over
  m_state = EngineState::Stopped;
  for (GraphRole role : kTeardownOrder) {
    GstPtr<GstElement>& element = m_elements[static_cast<int>(role)];
    if (element) gst_bin_remove(GST_BIN(m_pPipeline.get()), element.get());
    element.reset();
  }
  for (auto& renderer : m_renderers) renderer.reset();
  m_pSource = nullptr;
  m_bShowsStep = false;
  m_pBus.reset();
  m_pPipeline.reset();
  m_bGraphBuilt = false;
}

void CRecordingGraph::SetWindows(const RecordingWindows& windows) {
  m_windows = windows;
  for (int channel = 0; channel < 2; ++channel)
    if (m_renderers[channel]) m_renderers[channel]->SetWindow(channel ? windows.pRear : windows.pFront);
}

void CRecordingGraph::StartPresenting(bool showKept) {
  for (auto& renderer : m_renderers)
    if (renderer) renderer->StartPresenting(showKept);
}

// May run on a streaming thread: it touches only the renderers' own flags.
void CRecordingGraph::StopPresenting() {
  for (auto& renderer : m_renderers)
    if (renderer) renderer->StopPresenting();
}

void CRecordingGraph::SetEndListener(CVideoRenderer::EndListener listener) {
  if (m_renderers[0]) m_renderers[0]->SetEndListener(std::move(listener));
}

ITelemetrySource* CRecordingGraph::TelemetrySource() const { return m_pSource; }

const CVideoRenderer* CRecordingGraph::Renderer(int channel) const {
  if (channel == 0) return m_renderers[0].get();
  return channel == 1 && m_windows.nCount == 2 ? m_renderers[1].get() : nullptr;
}

}  // namespace vx
