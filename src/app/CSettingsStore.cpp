// Reading and writing the settings store; lines it does not understand are dropped with a warning.
#include "app/CSettingsStore.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace vx {

namespace {

std::optional<std::uint32_t> ParseDword(std::string_view text) {
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool NeedsEscape(char c) {
  return c == '%' || c == '=' || c == '[' || c == ']' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (!NeedsEscape(c)) {
      out += c;
      continue;
    }
    char hex[4];
    std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
    out += hex;
  }
  return out;
}

std::string Unescaped(std::string_view text) {
  std::string out;
  for (std::size_t at = 0; at < text.size(); ++at) {
    unsigned value = 0;
    if (text[at] == '%' && at + 2 < text.size() &&
        std::from_chars(text.data() + at + 1, text.data() + at + 3, value, 16).ptr == text.data() + at + 3) {
      out += static_cast<char>(value);
      at += 2;
    } else {
      out += text[at];
    }
  }
  return out;
}

}  // namespace

std::filesystem::path CSettingsStore::DefaultPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  std::filesystem::path base = config && *config ? config : std::filesystem::path(home ? home : ".") / ".config";
  return base / "vx880" / "settings.reg";
}

CSettingsStore::Keys CSettingsStore::Load() const {
  Keys keys;
  std::ifstream in(m_file);
  std::string line;
  Values* section = nullptr;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']') {
      section = &keys[line.substr(1, line.size() - 2)];
      continue;
    }
    const auto equals = line.find('=');
    if (section && equals != std::string::npos) {
      (*section)[Unescaped(std::string_view(line).substr(0, equals))] = Unescaped(std::string_view(line).substr(equals + 1));
    } else {
      std::fprintf(stderr, "vx880: %s: ignoring \"%s\"\n", m_file.c_str(), line.c_str());
    }
  }
  return keys;
}

bool CSettingsStore::Save(const Keys& keys) const {
  std::error_code ec;
  std::filesystem::create_directories(m_file.parent_path(), ec);
  std::filesystem::path temp = m_file;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::trunc);
    for (const auto& [key, values] : keys) {
      out << '[' << key << "]\n";
      for (const auto& [name, value] : values) out << Escaped(name) << '=' << Escaped(value) << '\n';
    }
    if (!out.flush()) return false;
  }
  std::filesystem::rename(temp, m_file, ec);
  return !ec;
}

bool CSettingsStore::OpenKey(const std::string& key) const {
  Keys keys = Load();
  if (keys.contains(key) && std::filesystem::exists(m_file)) {
    // The key is there; opening it still needs a store that can be written back.
    std::ofstream probe(m_file, std::ios::app);
    return static_cast<bool>(probe);
  }
  keys[key];
  return Save(keys);
}

std::optional<std::uint32_t> CSettingsStore::ReadDword(const std::string& key, const std::string& name) const {
  const std::optional<std::string> text = ReadText(key, name);
  return text ? ParseDword(*text) : std::nullopt;
}

bool CSettingsStore::WriteDword(const std::string& key, const std::string& name, std::uint32_t value) const {
  return WriteText(key, name, std::to_string(value));
}

std::optional<std::string> CSettingsStore::ReadText(const std::string& key, const std::string& name) const {
  const Keys keys = Load();
  const auto section = keys.find(key);
  if (section == keys.end()) return std::nullopt;
  const auto value = section->second.find(name);
  return value == section->second.end() ? std::nullopt : std::optional(value->second);
}

bool CSettingsStore::WriteText(const std::string& key, const std::string& name, const std::string& value) const {
  Keys keys = Load();
  keys[key][name] = value;
  return Save(keys);
}

bool CSettingsStore::DeleteValue(const std::string& key, const std::string& name) const {
  Keys keys = Load();
  const auto section = keys.find(key);
  if (section == keys.end() || section->second.erase(name) == 0) return true;
  return Save(keys);
}

}  // namespace vx
