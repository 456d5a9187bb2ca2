// A GStreamer pipeline fed from appsrc elements by name: raw pictures and sound in, encoded data or a file out.
#pragma once

#include <gst/gst.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace vx::mkcard {

class EncodingPipeline {
 public:
  EncodingPipeline() = default;
  EncodingPipeline(const EncodingPipeline&) = delete;
  EncodingPipeline& operator=(const EncodingPipeline&) = delete;
  ~EncodingPipeline();

  // Builds the pipeline from a gst-launch description and sets it playing; the filesinks named "file0",
  // "file1", ... write to outputPaths[0], [1], ...
  bool Launch(const std::string& description, std::span<const std::string> outputPaths, std::string& error);
  // Pushes one buffer into appsrc `source`; blocks while that branch is busy (its appsrc has `block=true`).
  bool Push(const char* source, std::span<const std::uint8_t> bytes, GstClockTime pts, GstClockTime duration);
  void EndOfStream(const char* source);
  // Takes the next encoded buffer from appsink `sink`; false at its end.
  bool Pull(const char* sink, std::vector<std::uint8_t>& out, bool& keyFrame);
  // Waits until the pipeline has written everything (EOS) or failed.
  bool WaitForEnd(std::string& error);
  // Stops the pipeline; a Push blocked in a branch that failed returns (false).
  void Stop();

 private:
  struct Unref {
    void operator()(GstElement* e) const { gst_object_unref(e); }
  };
  std::unique_ptr<GstElement, Unref> Element(const char* name) const;
  // Takes the pipeline's end or error from the bus, waiting at most `timeout`; true with `error` set
  // when it was an error.
  bool PopError(GstClockTime timeout, std::string& error);

  std::unique_ptr<GstElement, Unref> m_pipeline;
};

}  // namespace vx::mkcard
