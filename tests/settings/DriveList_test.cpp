// The Linux drive list: removable volumes from a mount table and sysfs made for the test, and the mount
// table's change events from a real mount.
#include <QSignalSpy>

#include <cstdlib>
#include <fstream>

#include "SettingsFixture.h"
#include "settings/CLinuxDriveList.h"

namespace vx::test {
namespace {

using LinuxDriveList = SettingsFixture;  // for its folder

TEST_F(LinuxDriveList, ReadsTheFilesItIsGiven) {
  const fs::path disk = m_dir / "sys/devices/sdb";  // a card reader's medium
  fs::create_directories(disk / "sdb1");
  std::ofstream(disk / "sdb1/partition") << "1\n";
  std::ofstream(disk / "removable") << "1\n";
  fs::create_directories(m_dir / "sys/dev/block");
  fs::create_directory_symlink("../../devices/sdb/sdb1", m_dir / "sys/dev/block/8:17");
  std::ofstream(m_dir / "mountinfo") << "22 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                                        "41 22 8:17 / /media/u/CAMERA\\040SD rw - vfat /dev/sdb1 rw\n";
  const CLinuxDriveList drives({m_dir / "mountinfo", m_dir / "no-such-mounts", m_dir / "sys", m_dir / "no-swaps"});
  EXPECT_EQ(drives.RemovableVolumes(), QStringList{"/media/u/CAMERA SD/"});
  EXPECT_EQ(drives.MountPointOf("/media/u/CAMERA SD/DCIM/20240501_130509_D01.MP4"), "/media/u/CAMERA SD/");
}

// Run by CTest in a private mount namespace, where mounting touches nothing outside.
TEST_F(LinuxDriveList, AMountAndAnUnmountAreAnnounced) {
  if (!std::getenv("VX_MOUNT_NAMESPACE")) GTEST_SKIP() << "mounts only in a private mount namespace";
  const std::string point = (m_dir / "card").string();  // made by the fixture
  CLinuxDriveList drives;
  QSignalSpy changed(&drives, &IDriveList::MountsChanged);
  const QString file = QString::fromStdString(point + "/DCIM/20240501_130509_E01.AVI");
  const QString before = drives.MountPointOf(file);
  ASSERT_EQ(std::system(("mount -t tmpfs vxcard " + point).c_str()), 0);
  ASSERT_TRUE(changed.wait(10000)) << "no word of the mount";
  EXPECT_EQ(drives.MountPointOf(file), QString::fromStdString(point + "/")) << "the playing file's card";
  changed.clear();
  ASSERT_EQ(std::system(("umount " + point).c_str()), 0);
  ASSERT_TRUE(changed.wait(10000)) << "no word of the unmount";
  EXPECT_EQ(drives.MountPointOf(file), before) << "the card is gone";
}

}  // namespace
}  // namespace vx::test
