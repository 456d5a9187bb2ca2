// The bus loop of an export: preroll, one seek to the span, play to EOS; progress from the buffers' own times.
#include "export/ExportRun.h"

#include <cstdio>
#include <filesystem>

namespace vx {
namespace {

constexpr GstClockTime kPollInterval = 100 * GST_MSECOND;  // how often progress and cancel are looked at

std::int64_t Ms(GstClockTime t) { return static_cast<std::int64_t>(t / GST_MSECOND); }

std::string FolderOf(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

}  // namespace

std::string PartPath(const std::string& path) { return path + ".part"; }

CExportRun::CExportRun(GstPtr<GstElement> pipeline, const PipelineJob& job, std::vector<std::string> outPaths)
    : m_pPipeline(std::move(pipeline)), m_job(job), m_aOutPaths(std::move(outPaths)) {}

void CExportRun::Route(GstElement* source, const std::string& padName, GstElement* entry) {
  if (m_mapRoutes.empty()) g_signal_connect(source, "pad-added", G_CALLBACK(OnPadAdded), this);
  m_pSource = source;
  m_mapRoutes[padName] = entry;
}

void CExportRun::OnPadAdded(GstElement*, GstPad* pad, gpointer self) {
  auto* run = static_cast<CExportRun*>(self);
  const GstPtr<gchar> name = Adopt(gst_pad_get_name(pad));
  const auto route = run->m_mapRoutes.find(name.get());
  if (route == run->m_mapRoutes.end()) return;
  const GstPtr<GstPad> sink = Adopt(gst_element_get_static_pad(route->second, "sink"));
  if (gst_pad_link(pad, sink.get()) != GST_PAD_LINK_OK) {
    GST_ELEMENT_ERROR(run->m_pPipeline.get(), CORE, NEGOTIATION, ("stream %s cannot be exported", name.get()), (nullptr));
  }
}

void CExportRun::Gate(GstPad* pad, bool measure) {
  m_aGates.push_back(std::make_unique<GateState>(GateState{this, measure}));
  gst_pad_add_probe(pad,
                    static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_FLUSH |
                                                 GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
                    OnGate, m_aGates.back().get(), nullptr);
}

GstPadProbeReturn CExportRun::OnGate(GstPad* pad, GstPadProbeInfo* info, gpointer data) {
  auto* gate = static_cast<GateState*>(data);
  CExportRun* run = gate->run;
  if (info->type & (GST_PAD_PROBE_TYPE_EVENT_FLUSH | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM)) {
    const GstEventType type = GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info));
    if (type == GST_EVENT_FLUSH_STOP && run->m_bSeekStarted) gate->open = true;
    // A short sound stream can end before the seek; that end must not end the muxer's track.
    const bool early = type == GST_EVENT_EOS && !gate->open;
    return type == GST_EVENT_FLUSH_START || type == GST_EVENT_FLUSH_STOP || early ? GST_PAD_PROBE_DROP
                                                                                  : GST_PAD_PROBE_OK;
  }
  if (gate->open) {
    if (gate->measure) run->Measure(pad, GST_PAD_PROBE_INFO_BUFFER(info));
    return GST_PAD_PROBE_OK;
  }
  bool idle = false;
  if (gate->measure && run->m_bSeekStarted.compare_exchange_strong(idle, true)) {
    // A flushing seek may not be sent from a streaming thread: the pipeline's own thread sends it.
    gst_element_call_async(run->m_pPipeline.get(), SeekToSpan, run, nullptr);
  }
  return GST_PAD_PROBE_DROP;
}

void CExportRun::SeekToSpan(GstElement*, gpointer self) {
  auto* run = static_cast<CExportRun*>(self);
  const auto [fromMs, toMs] = run->m_job.plan->JoinedSpanMs();
  if (!gst_element_seek(run->m_pSource, 1.0, GST_FORMAT_TIME,
                        static_cast<GstSeekFlags>(run->m_eSeekFlags | GST_SEEK_FLAG_FLUSH), GST_SEEK_TYPE_SET,
                        static_cast<GstClockTime>(fromMs) * GST_MSECOND, GST_SEEK_TYPE_SET,
                        static_cast<GstClockTime>(toMs) * GST_MSECOND)) {
    run->m_bSeekFailed = true;
  }
}

void CExportRun::Measure(GstPad* pad, GstBuffer* buffer) {
  const GstClockTime pts = GST_BUFFER_PTS(buffer);
  const GstPtr<GstEvent> event = Adopt(gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0));
  if (!event || !GST_CLOCK_TIME_IS_VALID(pts)) return;
  const GstSegment* segment = nullptr;
  gst_event_parse_segment(event.get(), &segment);
  const GstClockTime running = gst_segment_to_running_time(segment, GST_FORMAT_TIME, pts);
  if (GST_CLOCK_TIME_IS_VALID(running)) m_nDoneMs.store(Ms(running));
  std::int64_t unset = -1;
  const GstClockTime stream = gst_segment_to_stream_time(segment, GST_FORMAT_TIME, pts);
  if (GST_CLOCK_TIME_IS_VALID(stream)) m_nFirstStreamMs.compare_exchange_strong(unset, Ms(stream));
}

std::string CExportRun::ErrorText(GstMessage* message) const {
  GError* raw = nullptr;
  gchar* debugRaw = nullptr;
  gst_message_parse_error(message, &raw, &debugRaw);
  const GstPtr<GError> error = Adopt(raw);
  const GstPtr<gchar> debug = Adopt(debugRaw);
  GST_DEBUG_BIN_TO_DOT_FILE_WITH_TS(GST_BIN(m_pPipeline.get()), GST_DEBUG_GRAPH_SHOW_ALL, "vx880-export-error");
  const GstObject* source = GST_MESSAGE_SRC(message);
  const bool writing = source && GST_IS_ELEMENT(source) &&
                       g_str_has_prefix(GST_OBJECT_NAME(source), "out");  // the file sinks are named out…
  if (!writing) return error->message;
  const std::string reason = g_error_matches(error.get(), GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_NO_SPACE_LEFT)
                                 ? std::string("the disk is full")
                                 : std::string(error->message) + (debug ? std::string(" (") + debug.get() + ")" : "");
  return "cannot write in " + FolderOf(m_aOutPaths.front()) + ": " + reason;
}

// Handles the bus until the end of the span; false with the outcome filled on an error or cancel.
bool CExportRun::WaitForEnd(PipelineOutcome& outcome) {
  const GstPtr<GstBus> bus = Adopt(gst_element_get_bus(m_pPipeline.get()));
  const std::int64_t totalMs = m_job.plan->DurationMs();
  for (;;) {
    if (m_job.cancel && m_job.cancel->load()) {
      outcome.cancelled = true;
      outcome.error = "cancelled";
      return false;
    }
    if (m_bSeekFailed) {
      outcome.error = "the recording cannot be cut at the span";
      return false;
    }
    const GstPtr<GstMessage> message = Adopt(gst_bus_timed_pop_filtered(
        bus.get(), kPollInterval, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
    if (m_job.progress) m_job.progress(std::min(DoneMs(), totalMs), totalMs);
    if (!message) continue;
    if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR) {
      outcome.error = ErrorText(message.get());
      return false;
    }
    if (m_bSeekStarted) return true;
    outcome.error = "no picture could be read from the recording";
    return false;
  }
}

PipelineOutcome CExportRun::Run(GstSeekFlags seekFlags) {
  PipelineOutcome outcome;
  for (const std::string& path : m_aOutPaths) std::filesystem::remove(PartPath(path));
  m_eSeekFlags = seekFlags;
  gst_element_set_state(m_pPipeline.get(), GST_STATE_PLAYING);
  outcome.ok = WaitForEnd(outcome);
  gst_element_set_state(m_pPipeline.get(), GST_STATE_NULL);
  for (const std::string& path : m_aOutPaths) {
    std::error_code renamed, removed;
    if (outcome.ok) std::filesystem::rename(PartPath(path), path, renamed);
    if (!outcome.ok || renamed) std::filesystem::remove(PartPath(path), removed);
    if (renamed) outcome = {false, false, "cannot write in " + FolderOf(path) + ": " + renamed.message()};
  }
  const std::int64_t fromMs = m_job.plan->JoinedSpanMs().first;
  outcome.writtenMs = DoneMs();
  const bool snapsToKeyFrames = seekFlags & GST_SEEK_FLAG_KEY_UNIT;
  if (outcome.ok && snapsToKeyFrames && FirstStreamMs() >= 0) outcome.widenedEarlierMs = std::max<std::int64_t>(fromMs - FirstStreamMs(), 0);
  return outcome;
}

}  // namespace vx
