// Writes and reads the export manifest; paths are escaped so that any byte of a file name survives a line.
#include "core/export/ExportManifest.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace vx {
namespace {

constexpr std::string_view kTitle = "VX-880QN card viewer export manifest";
constexpr std::array<std::string_view, 3> kRoleKeys = {"original", "exported", "gpx"};

// Backslash, line feed and carriage return as "\\", "\n" and "\r", so that every value stays on its line.
std::string Escape(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '\\') escaped += "\\\\";
    else if (c == '\n') escaped += "\\n";
    else if (c == '\r') escaped += "\\r";
    else escaped += c;
  }
  return escaped;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      plain += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    const char c = text[i];
    if (c != '\\' && c != 'n' && c != 'r') return std::nullopt;
    plain += c == 'n' ? '\n' : c == 'r' ? '\r' : '\\';
  }
  return plain;
}

bool IsSha256(const std::string& hex) {
  return hex.size() == 64 &&
         std::all_of(hex.begin(), hex.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// Sets the field of a file block that `key` names; false for a key or value that is not one.
bool TakeFileField(ManifestFile& file, std::string_view key, const std::string& value) {
  if (key == "size") {
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), file.sizeBytes);
    return error == std::errc() && end == value.data() + value.size();
  }
  if (key == "sha256") file.sha256 = value;
  else if (key == "modified") file.modified = value;
  else if (key == "span") file.span = value;
  else return false;
  return true;
}

// Sets the field of the manifest's head that `key` names; false for an unknown key.
bool TakeHeadField(ExportManifest& manifest, std::string_view key, const std::string& value) {
  if (key == "viewer") manifest.viewer = value;
  else if (key == "exported at") manifest.exportedAt = value;
  else if (key == "card") manifest.card = value;
  else if (key == "span") manifest.span = value;
  else if (key == "note") manifest.notes.push_back(value);
  else return false;
  return true;
}

}  // namespace

std::string WriteManifest(const ExportManifest& manifest) {
  const auto line = [](std::string_view indent, std::string_view key, const std::string& value) {
    return std::string(indent) + std::string(key) + ": " + Escape(value) + "\n";
  };
  std::string text = std::string(kTitle) + "\n" + line("", "viewer", manifest.viewer) +
                     line("", "exported at", manifest.exportedAt) + line("", "card", manifest.card) +
                     line("", "span", manifest.span);
  for (const std::string& note : manifest.notes) text += line("", "note", note);
  for (const ManifestFile& file : manifest.files) {
    text += "\n" + line("", kRoleKeys[static_cast<std::size_t>(file.role)], file.path);
    text += line("  ", "size", std::to_string(file.sizeBytes));
    if (!file.modified.empty()) text += line("  ", "modified", file.modified);
    if (!file.span.empty()) text += line("  ", "span", file.span);
    text += line("  ", "sha256", file.sha256);
  }
  return text;
}

std::optional<ExportManifest> ReadManifest(std::string_view text, std::string& error) {
  ExportManifest manifest;
  ManifestFile* file = nullptr;
  std::size_t lineNumber = 0;
  const auto fail = [&](const char* why) {
    error = "line " + std::to_string(lineNumber) + ": " + why;
    return std::nullopt;
  };
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    const std::string_view line = text.substr(at, end - at);
    at = end + 1;
    if (++lineNumber == 1) {
      if (line != kTitle) return fail("not an export manifest");
      continue;
    }
    if (line.empty()) continue;
    const bool indented = line.starts_with("  ");
    const std::string_view body = indented ? line.substr(2) : line;
    const std::size_t colon = body.find(": ");
    if (colon == std::string_view::npos) return fail("not \"key: value\"");
    const std::string_view key = body.substr(0, colon);
    const std::optional<std::string> value = Unescape(body.substr(colon + 2));
    if (!value) return fail("a broken escape");
    if (indented) {
      if (!file || !TakeFileField(*file, key, *value)) return fail("an unknown file field");
      continue;
    }
    const auto role = std::find(kRoleKeys.begin(), kRoleKeys.end(), key);
    if (role != kRoleKeys.end()) {
      if (file && !IsSha256(file->sha256)) return fail("the file before has no SHA-256");
      if (value->empty()) return fail("a file without a path");
      file = &manifest.files.emplace_back();
      file->role = static_cast<ManifestFile::Role>(role - kRoleKeys.begin());
      file->path = *value;
    } else if (file || !TakeHeadField(manifest, key, *value)) {
      return fail("an unknown field");
    }
  }
  if (lineNumber == 0) return fail("empty");
  if (file && !IsSha256(file->sha256)) return fail("the last file has no SHA-256");
  return manifest;
}

}  // namespace vx
