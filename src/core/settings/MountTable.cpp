// Parsing mountinfo and /proc/swaps, and asking sysfs which block devices are removable and which disks hold
// the running system.
#include "core/settings/MountTable.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <system_error>

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

namespace fs = std::filesystem;

// Where the running system lives: a disk holding one of these is never offered as a card.
constexpr std::string_view kSystemMountPoints[] = {"/", "/usr/", "/boot/", "/boot/efi/", "/home/"};
// Mapped devices stacked deeper than this are not followed (sysfs links cannot loop, this only bounds the walk).
constexpr int kMaxStackDepth = 8;

std::string FirstWord(const fs::path& file) {
  std::ifstream in(file);
  std::string word;
  in >> word;
  return word;
}

// The sysfs folder of a block device (a disk or a partition); empty when sysfs has none.
fs::path DeviceFolder(const fs::path& sysRoot, unsigned major, unsigned minor) {
  std::error_code error;
  const std::string number = std::to_string(major) + ":" + std::to_string(minor);
  const fs::path device = fs::canonical(sysRoot / "dev" / "block" / number, error);
  return error ? fs::path() : device;
}

// The sysfs folder of a swap partition's device node, by its name, or through the node itself where the name
// is only a link (/dev/mapper/...).
fs::path SwapDeviceFolder(const fs::path& sysRoot, const std::string& nodePath) {
  std::error_code error;
  const fs::path node = fs::canonical(nodePath, error);
  const fs::path name = (error ? fs::path(nodePath) : node).filename();
  const fs::path named = fs::canonical(sysRoot / "class" / "block" / name, error);
  if (!error) return named;
  struct stat status {};
  if (::stat(nodePath.c_str(), &status) != 0 || !S_ISBLK(status.st_mode)) return {};
  return DeviceFolder(sysRoot, ::major(status.st_rdev), ::minor(status.st_rdev));
}

fs::path DiskFolder(const fs::path& device) {
  std::error_code error;
  return fs::exists(device / "partition", error) ? device.parent_path() : device;
}

// The disks a device's data lies on: its own, and for a mapped device those of the devices under it.
void AddDisksUnder(const fs::path& device, int depth, std::set<fs::path>& disks) {
  if (device.empty() || depth > kMaxStackDepth) return;
  disks.insert(DiskFolder(device));
  std::error_code error;
  for (fs::directory_iterator lower(device / "slaves", error), end; !error && lower != end; lower.increment(error)) {
    std::error_code unresolved;
    AddDisksUnder(fs::canonical(lower->path(), unresolved), depth + 1, disks);
  }
}

const MountEntry* VisibleMountAt(std::span<const MountEntry> mounts, std::string_view point) {
  const auto found =
      std::find_if(mounts.rbegin(), mounts.rend(), [&](const MountEntry& m) { return m.mountPoint == point; });
  return found != mounts.rend() ? &*found : nullptr;
}

std::set<fs::path> SystemDisks(std::span<const MountEntry> mounts, std::span<const SwapArea> swaps,
                               const fs::path& sysRoot) {
  std::set<fs::path> disks;
  const auto addMount = [&](const MountEntry* mount) {
    if (mount != nullptr) AddDisksUnder(DeviceFolder(sysRoot, mount->major, mount->minor), 0, disks);
  };
  for (const std::string_view point : kSystemMountPoints) addMount(VisibleMountAt(mounts, point));
  for (const SwapArea& swap : swaps) {
    if (swap.partition) {
      AddDisksUnder(SwapDeviceFolder(sysRoot, swap.path), 0, disks);
    } else {
      addMount(VisibleMountAt(mounts, MountPointHolding(mounts, swap.path)));
    }
  }
  return disks;
}

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

std::vector<SwapArea> ParseSwaps(std::string_view text) {
  std::vector<SwapArea> areas;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::vector<std::string_view> fields = SplitFields(text.substr(0, end));
    if (fields.size() >= 2 && fields[0] != "Filename") areas.push_back({Unescape(fields[0]), fields[1] == "partition"});
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return areas;
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

bool IsRemovableBlockDevice(const fs::path& sysRoot, unsigned major, unsigned minor) {
  const fs::path device = DeviceFolder(sysRoot, major, minor);
  if (device.empty()) return false;
  const fs::path disk = DiskFolder(device);
  if (StartsWith(disk.filename().string(), "mmcblk")) {
    const std::string type = FirstWord(disk / "device" / "type");
    if (type == "SD") return true;   // card slots often say removable = 0
    if (type == "MMC") return false;  // soldered eMMC: the computer's own disk
  }
  return FirstWord(disk / "removable") == "1";
}

std::vector<std::string> RemovableMountPoints(std::span<const MountEntry> mounts, std::span<const SwapArea> swaps,
                                              const fs::path& sysRoot) {
  const std::set<fs::path> systemDisks = SystemDisks(mounts, swaps, sysRoot);
  const auto onSystemDisk = [&](const MountEntry& mount) {
    std::set<fs::path> disks;
    AddDisksUnder(DeviceFolder(sysRoot, mount.major, mount.minor), 0, disks);
    return std::any_of(disks.begin(), disks.end(), [&](const fs::path& disk) { return systemDisks.contains(disk); });
  };
  // A later mount at the same place hides the earlier one.
  std::map<std::string, const MountEntry*> visible;
  for (const MountEntry& mount : mounts) visible[mount.mountPoint] = &mount;
  std::vector<std::string> points;
  for (const auto& [point, mount] : visible) {
    if (mount->root == "/" && IsRemovableBlockDevice(sysRoot, mount->major, mount->minor) && !onSystemDisk(*mount)) {
      points.push_back(point);
    }
  }
  return points;
}

}  // namespace vx
