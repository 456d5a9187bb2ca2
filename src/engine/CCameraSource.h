// The camera source: a GStreamer bin that opens a recording and exposes "Video 1", "Video 2" and "Audio".
#pragma once

#include <gst/gst.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "core/telemetry/FileTelemetrySource.h"
#include "engine/GstPtr.h"

namespace vx {

// Name under which start-up registers the element with GStreamer.
inline constexpr const char* kCameraSourceFactory = "vxcamerasrc";

// Registers the element (idempotent); false when GStreamer refused it.
bool RegisterCameraSource();

// The C++ side of one "vxcamerasrc" element. It lives exactly as long as the element.
//
// Load() runs the bin on its own (its state locked against the pipeline's) until the demuxer has
// announced every stream, holding each stream's first buffer back, so the graph can count the pads and
// link them before anything flows. StartStreaming() hands the bin back to the pipeline and lets go.
class CCameraSource final : public ITelemetrySource {
 public:
  explicit CCameraSource(GstBin* bin) : m_pBin(bin) {}
  CCameraSource(const CCameraSource&) = delete;
  CCameraSource& operator=(const CCameraSource&) = delete;

  // The C++ side of `element`, or nullptr when it is no camera source.
  static CCameraSource* From(GstElement* element);

  // S_OK once the streams are known; E_FAIL for a file that cannot be opened or parsed,
  // VFW_E_WRONG_STATE when a file is already loaded.
  HRESULT Load(const std::string& path);
  // After the pads are linked and the pipeline is going to PAUSED: release the held buffers.
  void StartStreaming();
  // Stops the bin even while its state is still locked (a build that ended early).
  void Shutdown();

  void SetOption(std::uint32_t flag) override { m_telemetry.SetOption(flag); }
  HRESULT ReadRecord(std::uint8_t* buffer, std::uint32_t* size, std::uint32_t* time) override {
    return m_telemetry.ReadRecord(buffer, size, time);
  }
  std::uint32_t Option() const { return m_telemetry.Option(); }

  // Called by the element's signal and message hooks (streaming threads).
  void OnPadAdded(GstPad* demuxPad);
  void OnNoMorePads();
  void OnChildError(const std::string& message);

 private:
  GstElement* AddChild(const char* factory, const char* name = nullptr);
  bool BuildDemuxer(const std::string& path, ContainerKind container);
  HRESULT WaitForStreams();
  void ExposeStream(GstPad* demuxPad, const std::string& name);
  static GstPadProbeReturn DropRepeatedSeek(GstPad* pad, GstPadProbeInfo* info, gpointer self);

  GstBin* m_pBin;  // the element that owns this object
  FileTelemetrySource m_telemetry;
  std::mutex m_mutex;
  std::condition_variable m_streamsKnown;
  bool m_bLoaded = false;
  bool m_bStreamsKnown = false;
  std::string m_strError;
  int m_nVideoPads = 0;
  bool m_bAudioPad = false;
  using HeldPad = std::pair<GstPtr<GstPad>, gulong>;
  std::vector<HeldPad> m_heldPads;  // demuxer pads held until StartStreaming
  std::atomic<guint32> m_nLastSeek{GST_SEQNUM_INVALID};
};

}  // namespace vx
