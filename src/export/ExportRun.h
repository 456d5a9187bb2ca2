// Runs a built export pipeline over the plan's span to its end, with progress, cancel and its one bus handler.
#pragma once

#include <gst/gst.h>

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/GstPtr.h"
#include "export/ExportPipelines.h"

namespace vx {

class CExportRun {
 public:
  CExportRun(GstPtr<GstElement> pipeline, const PipelineJob& job, std::vector<std::string> outPaths);
  GstBin* Bin() const { return GST_BIN(m_pPipeline.get()); }
  // The demuxer's pad named `padName` goes to `entry` when it appears; other pads stay unlinked.
  void Route(GstElement* source, const std::string& padName, GstElement* entry);
  // Guards a muxer's input at `pad`: what the sources give before the seek to the span is dropped, and the
  // seek's flush never reaches the muxer (it cannot take one). The first buffer at a measuring gate starts
  // the seek; its buffers' running time, the stream's own clock, is the progress.
  void Gate(GstPad* pad, bool measure);
  // Plays from the span's start (`seekFlags` say how exactly) until the end, an error or cancel; the outputs
  // are written under ".part" names and renamed only when the whole span is in them.
  PipelineOutcome Run(GstSeekFlags seekFlags);
  std::int64_t DoneMs() const { return m_nDoneMs.load(); }
  std::int64_t FirstStreamMs() const { return m_nFirstStreamMs.load(); }

 private:
  static void OnPadAdded(GstElement* source, GstPad* pad, gpointer self);
  struct GateState {
    CExportRun* run;
    bool measure;
    bool open = false;
  };
  static GstPadProbeReturn OnGate(GstPad* pad, GstPadProbeInfo* info, gpointer gate);
  static void SeekToSpan(GstElement* pipeline, gpointer self);  // on the pipeline's own thread
  void Measure(GstPad* pad, GstBuffer* buffer);
  bool WaitForEnd(PipelineOutcome& outcome);
  std::string ErrorText(GstMessage* message) const;
  GstPtr<GstElement> m_pPipeline;
  const PipelineJob& m_job;
  std::vector<std::string> m_aOutPaths;
  GstElement* m_pSource = nullptr;  // the demuxer: the seek goes to it alone, never through the muxers
  std::map<std::string, GstElement*> m_mapRoutes;
  std::vector<std::unique_ptr<GateState>> m_aGates;
  GstSeekFlags m_eSeekFlags = GST_SEEK_FLAG_NONE;
  std::atomic<bool> m_bSeekStarted{false};
  std::atomic<bool> m_bSeekFailed{false};
  std::atomic<std::int64_t> m_nDoneMs{0};
  std::atomic<std::int64_t> m_nFirstStreamMs{-1};
};

// "<path>.part": where an output is written until it is complete.
std::string PartPath(const std::string& path);

}  // namespace vx
