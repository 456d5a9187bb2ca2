// The video sink of one stream: an appsink (BGRx) that hands each picture to its window and keeps the last.
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
  // A deep copy of the last picture, rows top-down, 32 bits a pixel; a null image before the first.
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
  GstPtr<GstSample> m_pLast;
  std::uint64_t m_nFrames = 0;
};

// The picture of a BGRx sample as an image that shares (and keeps alive) the sample's memory.
QImage WrapSample(GstSample* sample);

}  // namespace vx
