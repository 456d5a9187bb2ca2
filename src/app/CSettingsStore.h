// The viewer's own key/value store in the user's configuration folder (what the registry was).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace vx {

// A text file of sections ("[Software\GNU\ffdshow]") holding 32-bit values ("multipleInstances=0") and
// texts; in names and texts '%', '=', '[', ']' and control characters are written as "%hh".
// Every write rewrites the whole file through a temporary file, so a crash never leaves half of it.
class CSettingsStore {
 public:
  explicit CSettingsStore(std::filesystem::path file) : m_file(std::move(file)) {}
  // $XDG_CONFIG_HOME/vx880/settings.reg, or ~/.config/vx880/settings.reg.
  static std::filesystem::path DefaultPath();

  // Opens the key, creating it (and the store) when absent; false when the store cannot be written.
  bool OpenKey(const std::string& key) const;
  std::optional<std::uint32_t> ReadDword(const std::string& key, const std::string& name) const;
  bool WriteDword(const std::string& key, const std::string& name, std::uint32_t value) const;
  std::optional<std::string> ReadText(const std::string& key, const std::string& name) const;
  bool WriteText(const std::string& key, const std::string& name, const std::string& value) const;
  // Removes the value; true when it is gone (also when it was never there).
  bool DeleteValue(const std::string& key, const std::string& name) const;

  const std::filesystem::path& File() const { return m_file; }

 private:
  using Values = std::map<std::string, std::string>;  // names and texts as they read, unescaped
  using Keys = std::map<std::string, Values>;
  Keys Load() const;
  bool Save(const Keys& keys) const;

  std::filesystem::path m_file;
};

}  // namespace vx
