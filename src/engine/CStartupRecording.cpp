// Building the recording named at start-up on its own thread while the window is made.
#include "engine/CStartupRecording.h"

#include "engine/CCameraSource.h"

namespace vx {

CStartupRecording::CStartupRecording(std::string path, std::string partnerPath)
    : m_strPath(std::move(path)), m_strPartnerPath(std::move(partnerPath)), m_thread([this] { Build(); }) {}

CStartupRecording::~CStartupRecording() {
  if (std::unique_ptr<CRecordingGraph> unused = Take()) unused->Teardown();
}

// gst_init and the source's registration are safe to repeat: the window's start-up does both again.
void CStartupRecording::Build() {
  gst_init(nullptr, nullptr);
  RegisterCameraSource();
  // No windows yet: the engine that takes the graph gives it its windows before it presents.
  auto graph = std::make_unique<CRecordingGraph>(RecordingWindows{2, nullptr, nullptr}, false, false);
  if (graph->BuildGraph(m_strPath, m_strPartnerPath) != S_OK) {
    graph->Teardown();
    return;
  }
  m_pGraph = std::move(graph);
}

std::unique_ptr<CRecordingGraph> CStartupRecording::Take() {
  if (m_thread.joinable()) m_thread.join();
  return std::move(m_pGraph);
}

}  // namespace vx
