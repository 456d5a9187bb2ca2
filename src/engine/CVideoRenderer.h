// The video sink of one stream: an appsink that hands each decoded picture to its window and keeps the
// last. Pictures stay in the decoder's format: the view converts only what it shows, at its own size.
#pragma once

#include <gst/app/gstappsink.h>

#include <QImage>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>

#include "engine/GstPtr.h"
#include "engine/IVideoWindow.h"
#include "engine/ShownFrameTime.h"

namespace vx {

// Name of the element message a renderer posts with the first picture, or the end, that follows each
// flush or new segment, or a step it was told to expect. The message carries that event's sequence number,
// which a flushing seek hands to every flush and segment it causes; the field "end" is true when the
// stream ended instead.
inline constexpr const char* kSegmentAnswerMessage = "vx880-segment-answer";

class CVideoRenderer {
 public:
  // Called on the streaming thread when the stream ends: the running time at which the last picture's
  // display ends, GST_CLOCK_TIME_NONE when no picture came since the last flush or segment.
  using EndListener = std::function<void(GstClockTime lastPictureEnd)>;

  // `window` may be null: the stream is then decoded and kept but shown nowhere. A renderer that does not
  // present keeps its pictures without handing them to the window until StartPresenting.
  CVideoRenderer(const char* name, IVideoWindow* window, bool presenting = true);
  CVideoRenderer(const CVideoRenderer&) = delete;
  CVideoRenderer& operator=(const CVideoRenderer&) = delete;

  GstElement* Element() const { return m_pSink.get(); }
  // The last picture at its own size, rows top-down, 32 bits a pixel; a null image before the first.
  QImage GrabFrame() const;
  // Has the window draw the last picture again.
  void Repaint() const;
  // Time and length of the last picture; nothing before the first or when it carries no time.
  std::optional<ShownFrame> LastFrameTime() const;
  // Before a step event with sequence number `seqnum` is sent to this sink: the picture it brings (or the
  // end) is answered under that number, as a seek's is.
  void ExpectStep(guint32 seqnum);
  // From now on each picture goes to the window; `showKept` hands it the picture kept meanwhile at once.
  void StartPresenting(bool showKept);
  // Pictures go on being kept but no longer reach the window (another renderer has taken it over).
  void StopPresenting() { m_bPresenting = false; }
  // The window of a renderer made before its window existed; set before it presents.
  void SetWindow(IVideoWindow* window) { m_pWindow = window; }
  void SetEndListener(EndListener listener);

 private:
  static GstFlowReturn OnPreroll(GstAppSink* sink, gpointer self);
  static GstFlowReturn OnSample(GstAppSink* sink, gpointer self);
  static GstPadProbeReturn OnEvent(GstPad* pad, GstPadProbeInfo* info, gpointer self);
  void Keep(GstPtr<GstSample> pulled);
  // Posts the answer to the current segment once: a picture (`end` false) or the stream's end.
  void AnswerSegment(bool end);

  GstPtr<GstElement> m_pSink;
  std::atomic<IVideoWindow*> m_pWindow;
  std::atomic<bool> m_bPresenting;
  mutable std::mutex m_mutex;
  CVideoFrame m_last;
  std::optional<ShownFrame> m_lastTime;
  GstClockTime m_nLastEnd = GST_CLOCK_TIME_NONE;  // running time, see EndListener
  EndListener m_endListener;
  guint32 m_nSegmentSeqnum = GST_SEQNUM_INVALID;
  bool m_bSegmentAnswered = true;
};

}  // namespace vx
