// The start-up steps in their order, and the restore at exit.
#include "app/CQuelmarApp.h"

#include <gst/gst.h>

#include "engine/CCameraSource.h"

namespace vx {

bool CQuelmarApp::InitInstance() {
  // The media framework for the recording graphs; the widget classes came with QApplication.
  gst_init(nullptr, nullptr);
  // The camera source is registered at every start; a failure shows no message here: the main
  // window's component check reports a missing source.
  RegisterCameraSource();
  m_nSavedMultipleInstances = 0;
  m_nSavedMultipleInstances = ReadDecoderSetting();
  if (m_nSavedMultipleInstances == -1) {
    m_shell.ShowMessage(kDecoderMissingMessage);
  } else {
    WriteDecoderSetting(0);
  }
  m_shell.RunMainDialog();
  return false;
}

int CQuelmarApp::ExitInstance() {
  if (m_nSavedMultipleInstances != -1) WriteDecoderSetting(static_cast<std::uint32_t>(m_nSavedMultipleInstances));
  return 0;
}

std::int32_t CQuelmarApp::ReadDecoderSetting() const {
  if (!m_store.OpenKey(kDecoderKey)) return -1;
  return static_cast<std::int32_t>(m_store.ReadDword(kDecoderKey, kMultipleInstances).value_or(0));
}

// A failed write is silent: the setting only matters to the decoder.
void CQuelmarApp::WriteDecoderSetting(std::uint32_t value) const {
  m_store.WriteDword(kDecoderKey, kMultipleInstances, value);
}

}  // namespace vx
