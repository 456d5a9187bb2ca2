// The drive list of a Linux computer: /proc/self/mountinfo, /proc/swaps, sysfs, and poll() on /proc/self/mounts.
#pragma once

#include <filesystem>
#include <vector>

#include "core/settings/MountTable.h"
#include "settings/IDriveList.h"

class QSocketNotifier;

namespace vx {

class CLinuxDriveList final : public IDriveList {
  Q_OBJECT

 public:
  struct Paths {
    std::filesystem::path mountInfo = "/proc/self/mountinfo";
    // The kernel marks this file with POLLPRI and POLLERR when the mount table changes.
    std::filesystem::path mounts = "/proc/self/mounts";
    std::filesystem::path sysRoot = "/sys";
    std::filesystem::path swaps = "/proc/swaps";
  };

  explicit CLinuxDriveList(QObject* parent = nullptr) : CLinuxDriveList(Paths{}, parent) {}
  explicit CLinuxDriveList(Paths paths, QObject* parent = nullptr);
  ~CLinuxDriveList() override;

  QStringList RemovableVolumes() const override;
  QString MountPointOf(const QString& absolutePath) const override;

 private:
  std::vector<MountEntry> ReadMounts() const;

  Paths m_paths;
  int m_nMountsFd = -1;
  QSocketNotifier* m_pNotifier = nullptr;
};

}  // namespace vx
