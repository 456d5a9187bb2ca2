// The playback engine of the main window: its render windows, its telemetry option and the open recording.
#pragma once

#include <QImage>
#include <functional>
#include <memory>
#include <string>

#include "engine/CRecordingGraph.h"

namespace vx {

class CPlaybackEngine {
 public:
  // `available` answers whether GStreamer can make an element; tests replace it.
  using ElementLookup = std::function<bool(const std::string& factory)>;
  explicit CPlaybackEngine(ElementLookup available = {});
  ~CPlaybackEngine();
  CPlaybackEngine(const CPlaybackEngine&) = delete;
  CPlaybackEngine& operator=(const CPlaybackEngine&) = delete;

  // Keeps both views as render windows and makes an idle recording object when there is none.
  void AttachWindows(IVideoWindow* front, IVideoWindow* rear);
  // 1 when every media component is there; -1 camera source (or no recording object), -2 video
  // decoder, -3 AAC decoder, -4 brightness element.
  int CheckComponents() const;
  // 1 opened and cued on its first frame; 0 not opened, with nothing left behind. `partnerPath` is the
  // rear file of a front/rear pair (empty for none): it plays in the rear view, and never fails the open.
  int Open(const std::string& path, const std::string& partnerPath = {});
  void Close();

  int ChangeRate(float rate);
  std::int64_t GetDurationMs();
  int RefreshFrame();
  int SeekMs(std::int32_t ms);
  int SkipBack(double seconds);
  int SkipForward(double seconds);
  // One picture forward or back of a paused or stopped recording: 1 when it moved; 0 at the first or last
  // picture, while running, or when nothing is open.
  int StepFrame(bool forward);
  // The current picture of channel 0 (front) or 1 (rear), top-down, 32 bits a pixel: 1, or 0 with
  // `bitmap` untouched when there is no recording, no such channel or no picture yet.
  int GrabFrame(int channel, QImage& bitmap) const;

  // The player's sound level (0 to 1): the open recording's and every one opened later.
  void SetVolume(double level);

  void SetTelemetryOption(bool option) { m_bTelemetryOption = option; }
  bool TelemetryOption() const { return m_bTelemetryOption; }
  // The current recording object, null after Close.
  CRecordingGraph* Recording() const { return m_pRecording.get(); }

 private:
  int Skip(double seconds);

  ElementLookup m_available;
  RecordingWindows m_windows;
  std::unique_ptr<CRecordingGraph> m_pRecording;
  bool m_bTelemetryOption = true;
  double m_fVolume = 1.0;
};

}  // namespace vx
