// The one message handler of a recording's pipeline, pumped by the engine on its own (main) thread.
#pragma once

#include <gst/gst.h>

#include <chrono>
#include <string>

#include "engine/GstPtr.h"

namespace vx {

// Writes the pipeline as a DOT graph into $GST_DEBUG_DUMP_DOT_DIR (GStreamer's own switch; nothing is
// written when it is unset). `stage` ends up in the file name.
void DumpPipelineGraph(GstElement* pipeline, const char* stage);

// How a seek ended: answered (a picture, the end of the answering stream, or an error), or not in time.
enum class SeekAnswer { Answered, NoAnswer };

class CPipelineBus {
 public:
  // `path` names the recording in the log.
  CPipelineBus(GstElement* pipeline, std::string path);

  // Handles every message waiting on the bus.
  void Pump();
  // Before a state change that prerolls: forgets an earlier preroll.
  void ExpectPreroll();
  // Handles messages until the pipeline has prerolled (true), or an error or `timeout` (false).
  bool WaitForPreroll(std::chrono::milliseconds timeout);
  // After the seek with sequence number `seqnum` was sent (messages it caused wait on the bus until
  // handled), to be answered by the renderer `answerer`: forgets the end and any error, which the seek
  // undoes. `endIsTheEnd`: the seek goes to or past the duration, so the answerer's end is the
  // recording's; before it, a stream shorter than the others has ended but the recording plays on,
  // and its end comes with the pipeline's.
  void ExpectSeek(guint32 seqnum, const GstElement* answerer, bool endIsTheEnd);
  // Handles messages until the renderer has answered the expected seek, an error ended the recording, or
  // `limit` passed. A seek not answered in time stays expected: its answer is taken whenever it comes.
  SeekAnswer WaitForSeekAnswer(std::chrono::milliseconds limit);

  // True while the expected seek has neither been answered nor ended by an error.
  bool SeekPending() const { return m_nAwaitedSeek != GST_SEQNUM_INVALID && !m_bSeekAnswered && !m_bError; }
  // True once the recording has ended: the end of every stream, an error, or a seek past the data.
  bool Ended() const { return m_bEnded; }

 private:
  template <typename Done>
  void HandleUntil(std::chrono::milliseconds limit, Done done);
  void Handle(GstMessage* message);
  void HandleError(GstMessage* message);
  void HandleSegmentAnswer(GstMessage* message);

  GstElement* m_pPipeline;  // owned by the graph, outlives this object
  GstPtr<GstBus> m_pBus;
  std::string m_strPath;
  bool m_bPrerolled = false;
  bool m_bEnded = false;
  bool m_bError = false;
  guint32 m_nAwaitedSeek = GST_SEQNUM_INVALID;
  const GstElement* m_pAnswerer = nullptr;
  bool m_bSeekAnswered = false;
  bool m_bAnswerEndIsTheEnd = true;
};

}  // namespace vx
