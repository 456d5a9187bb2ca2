// The one message handler of a recording's pipeline, pumped by the engine on its own (main) thread.
#pragma once

#include <gst/gst.h>

#include <chrono>

#include "engine/GstPtr.h"

namespace vx {

// Writes the pipeline as a DOT graph into $GST_DEBUG_DUMP_DOT_DIR (GStreamer's own switch; nothing is
// written when it is unset). `stage` ends up in the file name.
void DumpPipelineGraph(GstElement* pipeline, const char* stage);

class CPipelineBus {
 public:
  explicit CPipelineBus(GstElement* pipeline);

  // Handles every message waiting on the bus.
  void Pump();
  // Forgets an earlier preroll and end, before a state change or seek that will bring new ones.
  void Reset();
  // Handles messages until the pipeline has prerolled (true), or an error or `timeout` (false).
  bool WaitForPreroll(std::chrono::milliseconds timeout);

  bool Ended() const { return m_bEos; }
  bool Failed() const { return m_bError; }

 private:
  void Handle(GstMessage* message);

  GstElement* m_pPipeline;  // owned by the graph, outlives this object
  GstPtr<GstBus> m_pBus;
  bool m_bPrerolled = false;
  bool m_bEos = false;
  bool m_bError = false;
};

}  // namespace vx
