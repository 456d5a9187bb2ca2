// The manifest written beside an export: what was exported from which originals, with their SHA-256.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

struct ManifestFile {
  enum class Role { Original, Export, Gpx };
  Role role = Role::Original;
  std::string path;      // an original's relative to the card's root; an exported file's beside the manifest
  std::uint64_t sizeBytes = 0;
  std::string modified;  // ISO 8601 UTC; originals only
  std::string span;      // what of an original was used ("3.000 s to 10.000 s"); originals only
  std::string sha256;    // 64 lower-case hex digits
};

struct ExportManifest {
  std::string viewer;      // "vx880-export 0.1.0"
  std::string exportedAt;  // ISO 8601 UTC
  std::string card;        // the card's root as it was mounted then
  std::string span;        // the span exported, and how key frames widened it
  std::vector<std::string> notes;  // what the export lacks: sound left out, no telemetry, …
  std::vector<ManifestFile> files;
};

// Plain UTF-8 text, one "key: value" per line, each file a block of indented lines under its role.
std::string WriteManifest(const ExportManifest& manifest);

// Reads what WriteManifest wrote. Nothing, with `error` naming the line, when the text is no manifest or a
// file block lacks its path or a well-formed SHA-256.
std::optional<ExportManifest> ReadManifest(std::string_view text, std::string& error);

}  // namespace vx
