// The mount table (/proc/self/mountinfo), the swap areas (/proc/swaps) and which file systems sit on removable
// media that hold no part of the running system (sysfs).
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

// A swap area of a /proc/swaps text: a partition (its device node) or a file.
struct SwapArea {
  std::string path;
  bool partition = false;
};
std::vector<SwapArea> ParseSwaps(std::string_view text);

// The mount point (ending with "/") holding an absolute path: the deepest mount point that is the path or one
// of its folders, decided on the text alone (the path is never touched); empty for a relative path.
std::string MountPointHolding(std::span<const MountEntry> mounts, std::string_view absolutePath);

// Whether block device major:minor is on a removable disk according to the sysfs tree at sysRoot: an SD card
// (an mmcblk* disk whose card says type SD) counts whatever its removable flag says, built-in eMMC (type MMC)
// never does; any other disk (the partition's parent) counts when it says removable = 1, as card readers' and
// USB sticks' media do. Fixed disks, USB hard disks included, say 0.
bool IsRemovableBlockDevice(const std::filesystem::path& sysRoot, unsigned major, unsigned minor);

// The mount points (sorted, each once) where a removable device's file system is mounted whole, leaving out
// every disk that holds /, /usr, /boot, /home or a swap area, also through a mapped device (LVM, encryption).
std::vector<std::string> RemovableMountPoints(std::span<const MountEntry> mounts, std::span<const SwapArea> swaps,
                                              const std::filesystem::path& sysRoot);

}  // namespace vx
