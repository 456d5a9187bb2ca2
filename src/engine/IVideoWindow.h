// The surface a video renderer draws into: the engine's view of a CNrvVideoView.
#pragma once

#include "engine/CVideoFrame.h"

namespace vx {

class IVideoWindow {
 public:
  virtual ~IVideoWindow() = default;
  // Takes the newest picture, to be shown stretched over the whole client area. Called on streaming
  // threads: an implementation hands the picture to its own thread.
  virtual void PresentFrame(const CVideoFrame& frame) = 0;
  // Draws the picture it holds again (main thread).
  virtual void RepaintFrame() = 0;
};

}  // namespace vx
