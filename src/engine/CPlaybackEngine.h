// The playback engine of the main window: its render windows, its telemetry option and the open recording.
#pragma once

#include <QImage>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "engine/CRecordingGraph.h"
#include "engine/CStartupRecording.h"

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
  // The recording prepared by PrepareNext is taken as it is when it is this one.
  int Open(const std::string& path, const std::string& partnerPath = {});
  void Close();

  // Gapless playing of recordings one after another. PrepareNext builds and cues the recording that
  // follows the open one on a worker, its pictures kept from the views. When the open recording's front
  // stream ends while playing, the prepared one starts on the streaming thread with its first picture at
  // the very moment the last one's display ends, and `handedOver` is called there; the owner then calls
  // CompleteHandOver on its own thread, which makes it the open recording. A hand-over that finds nothing
  // prepared leaves the end to the owner, as without one.
  void SetHandOverListener(std::function<void()> handedOver);
  void PrepareNext(const std::string& path, const std::string& partnerPath = {});
  // Takes the recording built at start-up as the prepared one: Open of its path takes it.
  void TakeStartupRecording(std::shared_ptr<CStartupRecording> startup);
  // Forgets the prepared recording (tearing it down on the worker).
  void DropPrepared();
  // True when the prepared recording has taken over; it is then the open one, the old one goes to the worker.
  bool CompleteHandOver();

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
  using GraphBuild = std::function<std::unique_ptr<CRecordingGraph>()>;
  // Runs `build` on the worker as the preparation of `path`; its graph (null: none) is kept while still asked for.
  void Prepare(const std::string& path, const std::string& partnerPath, GraphBuild build);
  // The prepared recording for Open, waiting for one still being built: that is sooner than building it again.
  std::unique_ptr<CRecordingGraph> TakePrepared();
  int Skip(double seconds);
  // Makes `graph` the open recording, telling it of its end; the one open before goes to the worker.
  void MakeCurrent(std::unique_ptr<CRecordingGraph> graph);
  // Streaming thread of the open recording: its front stream ended, its last picture ending at `lastEnd`.
  void OnRecordingEnded(const CRecordingGraph* ended, GstClockTime lastEnd);
  // Runs `job` on the worker after what it was given before; the worker's graphs are its own.
  void RunOnWorker(std::function<void()> job);
  void Retire(std::unique_ptr<CRecordingGraph> graph);

  ElementLookup m_available;
  RecordingWindows m_windows;
  std::unique_ptr<CRecordingGraph> m_pRecording;
  std::function<void()> m_handedOver;
  // Guards the prepared recording and the hand-over, which the streaming thread makes. Never held while a
  // pipeline changes state on this thread, which could wait for that very streaming thread.
  std::mutex m_handOverMutex;
  std::unique_ptr<CRecordingGraph> m_pPrepared;  // cued, waiting for the open one's end
  std::string m_strNextPath;  // what PrepareNext was asked for (main thread)
  std::string m_strNextPartner;
  std::uint64_t m_nPreparation = 0;  // numbers the requests: a worker's result for an older one is dropped
  bool m_bHandedOver = false;
  std::thread m_worker;
  bool m_bTelemetryOption = true;
  double m_fVolume = 1.0;
};

}  // namespace vx
