// The video sink of one stream: an appsink that hands each decoded picture to its window and keeps the
// last. Pictures stay in the decoder's format: the view converts only what it shows, at its own size.
#pragma once

#include <gst/app/gstappsink.h>

#include <QImage>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "engine/GstPtr.h"
#include "engine/IVideoWindow.h"

namespace vx {

class CVideoRenderer {
 public:
  // `window` may be null: the stream is then decoded and kept but shown nowhere.
  CVideoRenderer(const char* name, IVideoWindow* window);
  CVideoRenderer(const CVideoRenderer&) = delete;
  CVideoRenderer& operator=(const CVideoRenderer&) = delete;

  GstElement* Element() const { return m_pSink.get(); }
  // The last picture at its own size, rows top-down, 32 bits a pixel; a null image before the first.
  QImage GrabFrame() const;
  // Has the window draw the last picture again.
  void Repaint() const;
  // Pictures received so far (preroll included).
  std::uint64_t FrameCount() const;
  // Waits until more than `count` pictures were received; false after `timeout`.
  bool WaitForFrameAfter(std::uint64_t count, std::chrono::milliseconds timeout) const;

 private:
  static GstFlowReturn OnPreroll(GstAppSink* sink, gpointer self);
  static GstFlowReturn OnSample(GstAppSink* sink, gpointer self);
  void Keep(GstPtr<GstSample> pulled);

  GstPtr<GstElement> m_pSink;
  IVideoWindow* m_pWindow;
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_frameArrived;
  CVideoFrame m_last;
  std::uint64_t m_nFrames = 0;
};

}  // namespace vx
