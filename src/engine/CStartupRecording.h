// A recording built and cued on a thread of its own from the program's first moment, before any window exists,
// so that its first picture is ready by the time the window has been made.
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "engine/CRecordingGraph.h"

namespace vx {

class CStartupRecording {
 public:
  // Starts GStreamer and the recording's graph on the thread; the graph shows nothing until an engine
  // takes it (CPlaybackEngine::TakeStartupRecording) and opens the same path.
  CStartupRecording(std::string path, std::string partnerPath);
  ~CStartupRecording();
  CStartupRecording(const CStartupRecording&) = delete;
  CStartupRecording& operator=(const CStartupRecording&) = delete;

  const std::string& Path() const { return m_strPath; }
  const std::string& PartnerPath() const { return m_strPartnerPath; }
  // Waits for the thread: the cued graph, or null when it could not be built (whoever opens the path
  // then builds it again and hears why it fails) or was taken before.
  std::unique_ptr<CRecordingGraph> Take();

 private:
  void Build();

  std::string m_strPath;
  std::string m_strPartnerPath;
  std::unique_ptr<CRecordingGraph> m_pGraph;  // the thread's until it has been joined
  std::thread m_thread;
};

}  // namespace vx
