// The camera source: a GStreamer bin that opens a recording and exposes "Video 1", "Video 2" and "Audio".
#pragma once

#include <gst/gst.h>

#include <array>
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
//
// A recording with one video stream can come with a partner: the rear camera's file of the same moment.
// Its first video stream becomes "Video 2", so the pipeline plays both on one clock as it would a file
// with two. The partner never fails the recording: a partner that cannot be read is left out, its
// errors are logged and kept inside the bin, its end comes with the front's at the latest, and the
// position and duration are the front's.
class CCameraSource final : public ITelemetrySource {
 public:
  explicit CCameraSource(GstBin* bin) : m_pBin(bin) {}
  CCameraSource(const CCameraSource&) = delete;
  CCameraSource& operator=(const CCameraSource&) = delete;

  // The C++ side of `element`, or nullptr when it is no camera source.
  static CCameraSource* From(GstElement* element);

  // S_OK once the streams are known; E_FAIL for a file that cannot be opened or parsed,
  // VFW_E_WRONG_STATE when a file is already loaded.
  HRESULT Load(const std::string& path, const std::string& partnerPath = {});
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
  // True when the error goes up to the pipeline; false when it was the partner's, logged and kept here.
  bool OnChildError(GstObject* child, const std::string& message);

 private:
  // One file the bin reads: the recording itself or its partner. Children of the partner's branch
  // carry kPartnerPrefix in their names, which tells whose message is whose.
  struct Input {
    Input(CCameraSource* owner, bool partner) : pOwner(owner), bPartner(partner) {
      gst_segment_init(&segment, GST_FORMAT_TIME);
    }
    CCameraSource* pOwner;
    bool bPartner;
    std::string strPath;
    bool bStreamsKnown = false;
    std::string strError;
    std::atomic<guint32> nLastSeek{GST_SEQNUM_INVALID};
    // The partner's stream as its queue hands it on (that streaming thread only).
    GstSegment segment{};
    guint32 nSegmentSeqnum = GST_SEQNUM_INVALID;
    bool bEndedWithFront = false;
  };
  static constexpr const char* kPartnerPrefix = "partner-";

  void LoadTelemetry(const std::string& path);
  void LoadPartner(const std::string& partnerPath);
  void RemovePartner();
  GstElement* AddChild(const char* factory, const std::string& name);
  bool BuildDemuxer(Input& input, const char* demuxFactory);
  bool WaitForStreams(Input& input);
  void OnPadAdded(Input& input, GstPad* demuxPad);
  void OnNoMorePads(Input& input);
  void ExposeStream(Input& input, GstPad* demuxPad, const std::string& name);
  static void PadAdded(GstElement*, GstPad* pad, gpointer input);
  static void NoMorePads(GstElement*, gpointer input);
  static GstPadProbeReturn DropRepeatedSeek(GstPad* pad, GstPadProbeInfo* info, gpointer input);
  static GstPadProbeReturn AnswerForTheFront(GstPad* pad, GstPadProbeInfo* info, gpointer);
  static GstPadProbeReturn EndWithTheFront(GstPad* pad, GstPadProbeInfo* info, gpointer input);

  GstBin* m_pBin;  // the element that owns this object
  FileTelemetrySource m_telemetry;
  std::mutex m_mutex;
  std::condition_variable m_streamsKnown;
  bool m_bLoaded = false;
  std::array<Input, 2> m_inputs{Input(this, false), Input(this, true)};  // the recording, its partner
  int m_nVideoPads = 0;
  bool m_bAudioPad = false;
  GstClockTime m_nFrontDuration = GST_CLOCK_TIME_NONE;  // where the partner's stream is cut
  using HeldPad = std::pair<GstPtr<GstPad>, gulong>;
  std::vector<HeldPad> m_heldPads;  // demuxer pads held until StartStreaming
};

}  // namespace vx
