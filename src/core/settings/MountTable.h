// The mount table (/proc/self/mountinfo) and which of its file systems sit on removable media (sysfs).
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

struct MountEntry {
  unsigned major = 0;      // device number of the mounted file system
  unsigned minor = 0;
  std::string root;        // the folder of the file system that is mounted there ("/" for the whole)
  std::string mountPoint;  // where it is mounted, ending with "/"
  std::string fsType;
  std::string source;
};

// The entries of a mountinfo text, octal escapes (\040 for a blank) decoded; malformed lines are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// The mount point (ending with "/") holding an absolute path: the deepest mount point that is the path or one
// of its folders, decided on the text alone (the path is never touched); empty for a relative path.
std::string MountPointHolding(std::span<const MountEntry> mounts, std::string_view absolutePath);

// Whether block device major:minor is on a removable disk according to the sysfs tree at sysRoot: the disk
// (the partition's parent) says removable = 1, as card readers' and USB sticks' media do, or it is an SD card
// slot (mmcblk*), which counts whatever it says. Fixed disks, USB hard disks included, say 0.
bool IsRemovableBlockDevice(const std::filesystem::path& sysRoot, unsigned major, unsigned minor);

// The mount points (sorted, each once) where a removable device's file system is mounted whole.
std::vector<std::string> RemovableMountPoints(std::span<const MountEntry> mounts, const std::filesystem::path& sysRoot);

}  // namespace vx
