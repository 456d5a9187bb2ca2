// Start-up and shut-down of the viewer: media framework, camera source, decoder setting, main window.
#pragma once

#include <cstdint>
#include <string>

#include "app/CSettingsStore.h"

namespace vx {

inline constexpr const char* kDecoderKey = "Software\\GNU\\ffdshow";
inline constexpr const char* kMultipleInstances = "multipleInstances";
inline constexpr const char* kDecoderMissingMessage = "ffdshow is not installed. Please install ffdshow...";

// What start-up asks of the desktop: a message box and the modal main window.
class IStartupShell {
 public:
  virtual ~IStartupShell() = default;
  virtual void ShowMessage(const std::string& text) = 0;
  virtual void RunMainDialog() = 0;
};

class CQuelmarApp {
 public:
  CQuelmarApp(const CSettingsStore& store, IStartupShell& shell) : m_store(store), m_shell(shell) {}

  // Prepares the process, runs the main window until it closes, and answers false (the process ends).
  bool InitInstance();
  // Puts the user's decoder setting back.
  int ExitInstance();

  // The decoder setting as read at start-up: its value, 0 when absent, -1 when the key cannot be opened.
  std::int32_t SavedMultipleInstances() const { return m_nSavedMultipleInstances; }

 private:
  std::int32_t ReadDecoderSetting() const;
  void WriteDecoderSetting(std::uint32_t value) const;

  const CSettingsStore& m_store;
  IStartupShell& m_shell;
  std::int32_t m_nSavedMultipleInstances = 0;
};

}  // namespace vx
