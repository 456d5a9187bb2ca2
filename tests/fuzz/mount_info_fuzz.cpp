// Fuzzes the mountinfo and swaps parsers: any text gives entries whose mount points are absolute folders, every
// path below a mount point is held by a mount point, and no swap area has an empty path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/settings/MountTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<vx::MountEntry> mounts = vx::ParseMountInfo(text);
  for (const vx::MountEntry& mount : mounts) {
    if (mount.mountPoint.empty() || mount.mountPoint.back() != '/') std::abort();
    if (mount.mountPoint.front() != '/') continue;
    const std::string holder = vx::MountPointHolding(mounts, mount.mountPoint + "file");
    if (holder.empty() || holder.back() != '/') std::abort();
  }
  for (const vx::SwapArea& area : vx::ParseSwaps(text))
    if (area.path.empty()) std::abort();
  return 0;
}
