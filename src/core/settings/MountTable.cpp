// Parsing mountinfo and asking sysfs which block devices are removable.
#include "core/settings/MountTable.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <optional>

namespace vx {
namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }

// The kernel writes a blank, tab, newline and backslash in a path as \040, \011, \012 and \134.
std::string Unescape(std::string_view field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const bool escape = field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) &&
                        IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3]);
    if (escape) {
      text.push_back(static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0')));
      i += 3;
    } else {
      text.push_back(field[i]);
    }
  }
  return text;
}

// The path without "." and ".." steps or repeated separators, ending with "/", so that a folder's text is a
// prefix of the text of everything inside it.
std::string NormalFolder(std::string_view path) {
  // The library keeps a leading "//" apart from "/"; on Linux they are the same folder.
  const std::size_t firstName = path.find_first_not_of('/');
  if (firstName != std::string_view::npos && firstName > 1) path.remove_prefix(firstName - 1);
  if (firstName == std::string_view::npos && !path.empty()) path = "/";
  std::string folder = std::filesystem::path(path).lexically_normal().string();
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

bool ParseDevice(std::string_view field, unsigned& major, unsigned& minor) {
  const std::size_t colon = field.find(':');
  if (colon == std::string_view::npos) return false;
  const char* end = field.data() + field.size();
  const auto first = std::from_chars(field.data(), field.data() + colon, major);
  const auto second = std::from_chars(field.data() + colon + 1, end, minor);
  return first.ec == std::errc() && first.ptr == field.data() + colon && second.ec == std::errc() && second.ptr == end;
}

std::optional<MountEntry> ParseLine(std::string_view line) {
  // id, parent id, major:minor, root, mount point, options, optional fields, "-", type, source, options
  const std::vector<std::string_view> fields = SplitFields(line);
  if (fields.size() < 6) return std::nullopt;
  const auto separator = std::find(fields.begin() + 6, fields.end(), std::string_view("-"));
  if (fields.end() - separator < 3) return std::nullopt;
  MountEntry entry;
  if (!ParseDevice(fields[2], entry.major, entry.minor)) return std::nullopt;
  entry.root = Unescape(fields[3]);
  entry.mountPoint = NormalFolder(Unescape(fields[4]));
  entry.fsType = Unescape(separator[1]);
  entry.source = Unescape(separator[2]);
  return entry;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> entries;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    if (auto entry = ParseLine(text.substr(0, end))) entries.push_back(std::move(*entry));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return entries;
}

std::string MountPointHolding(std::span<const MountEntry> mounts, std::string_view absolutePath) {
  if (absolutePath.empty() || absolutePath.front() != '/') return {};
  const std::string path = NormalFolder(absolutePath);
  std::string best;
  for (const MountEntry& mount : mounts) {
    if (StartsWith(path, mount.mountPoint) && mount.mountPoint.size() >= best.size()) best = mount.mountPoint;
  }
  return best;
}

bool IsRemovableBlockDevice(const std::filesystem::path& sysRoot, unsigned major, unsigned minor) {
  std::error_code error;
  const std::string device = std::to_string(major) + ":" + std::to_string(minor);
  std::filesystem::path disk = std::filesystem::canonical(sysRoot / "dev" / "block" / device, error);
  if (error) return false;
  if (std::filesystem::exists(disk / "partition", error)) disk = disk.parent_path();
  if (StartsWith(disk.filename().string(), "mmcblk")) return true;
  std::ifstream removable(disk / "removable");
  char flag = 0;
  return removable.get(flag) && flag == '1';
}

std::vector<std::string> RemovableMountPoints(std::span<const MountEntry> mounts, const std::filesystem::path& sysRoot) {
  // A later mount at the same place hides the earlier one.
  std::map<std::string, const MountEntry*> visible;
  for (const MountEntry& mount : mounts) visible[mount.mountPoint] = &mount;
  std::vector<std::string> points;
  for (const auto& [point, mount] : visible) {
    if (mount->root == "/" && IsRemovableBlockDevice(sysRoot, mount->major, mount->minor)) points.push_back(point);
  }
  return points;
}

}  // namespace vx
