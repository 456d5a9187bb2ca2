// Shared parts of the engine benchmarks: process set-up, plain GStreamer pipelines, statistics, output.
#pragma once

#include <gst/gst.h>

#include <QApplication>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "engine/CNrvVideoView.h"
#include "engine/CPlaybackEngine.h"
#include "engine/GstPtr.h"

namespace vx::bench {

using Clock = std::chrono::steady_clock;

// GStreamer, the camera source and an offscreen QApplication, which main() keeps until it returns.
std::unique_ptr<QApplication> InitProcess(int& argc, char** argv);

// The main window's part of playback: two views at the window's sizes and the engine drawing into them.
// Hidden views receive their pictures but never paint (nor convert) them. Shown views are windows of
// their own side by side; on a real X server the constructor returns once both are on the screen.
struct CViewer {
  explicit CViewer(bool shown = true);
  CNrvVideoView front;
  CNrvVideoView rear;
  CPlaybackEngine engine;
};

// The two-stream recording (front 1280x720, rear 640x360) of `seconds` from the card maker: H.264 + AAC
// in an MP4, or Motion JPEG + PCM in an AVI (`extension` "AVI").
std::string DemoRecording(int seconds, const char* extension = "MP4");

// The same decoders as our graph, without our source, converters and renderers: filesrc ! qtdemux (or
// avidemux for an AVI), each video stream through h264parse ! avdec_h264 max-threads=1 (or jpegdec), the sound
// through aacparse ! avdec_aac (PCM as it is), every branch into a fakesink with the given sync, the
// front one named "front". With a `viewScaling` (a videoscale method such as "bilinear"), each picture is
// also converted by GStreamer to BGRx at its view's size, as any display of it must.
GstPtr<GstElement> PlainPipeline(const std::string& path, bool sync, const char* viewScaling = nullptr);

// Handles bus messages until one of `types` arrives (true) or an error or `timeout` (false).
bool WaitForMessage(GstElement* pipeline, GstMessageType types, std::chrono::milliseconds timeout);

double Milliseconds(Clock::duration d);
double CpuSeconds();  // of the whole process, every thread
// User and system CPU seconds of the X server named by $DISPLAY, whose pid its lock file holds; 0 without
// one (the offscreen platform), where the copies to the screen are not counted at all.
double XServerCpuSeconds();
double ResidentMegabytes();  // VmRSS of this process
double Median(std::vector<double> values);
double Percentile(std::vector<double> values, double fraction);

// One "name: value" line.
void Print(const std::string& name, double value);

}  // namespace vx::bench
