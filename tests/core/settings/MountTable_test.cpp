// The mount table and removable volumes, over a mountinfo text and a small sysfs tree made for the test.
#include "core/settings/MountTable.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <tuple>

namespace vx {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMountInfo =
    "22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
    "40 22 8:17 / /media/user/CARD\\040ONE rw,nosuid shared:80 master:2 - vfat /dev/sdb1 rw,uid=1000\n"
    "41 22 179:1 / /media/user/SD rw - exfat /dev/mmcblk0p1 rw\n"
    "42 22 8:33 / /media/user/BACKUP rw - ext4 /dev/sdc1 rw\n"
    "43 22 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
    "44 22 8:17 /DCIM /mnt/dcim rw - vfat /dev/sdb1 rw\n"
    "not a mount line\n"
    "45 22 8:18 / /mnt/hidden rw - vfat /dev/sdb2 rw\n"
    "46 22 0:50 / /mnt/hidden rw - tmpfs tmpfs rw\n"
    "47 22 8:x / /bad rw - vfat /dev/sdb3 rw\n"
    "48 22 8:19 / /no-separator rw vfat /dev/sdb3 rw";

class SysfsTree : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("vx-sysfs-" + std::to_string(::getpid()));
    fs::remove_all(m_root);
    AddDisk("sdb", "1", {{"8:17", "sdb1"}, {"8:18", "sdb2"}});  // a card reader's medium
    AddDisk("sdc", "0", {{"8:33", "sdc1"}});                    // a USB hard disk
    AddDisk("sda", "0", {{"8:2", "sda2"}});
    AddDisk("mmcblk0", "0", {{"179:1", "mmcblk0p1"}}, "SD");    // an SD slot that says 0
    AddDisk("mmcblk1", "0", {{"179:9", "mmcblk1p1"}}, "MMC");   // the computer's eMMC
    AddDisk("loop0", "0", {});
    fs::create_directory_symlink("../../devices/virtual/block/loop0", m_root / "dev/block/7:0");
  }
  void TearDown() override { fs::remove_all(m_root); }

  void AddDisk(const std::string& name, const char* removable,
               std::initializer_list<std::pair<const char*, const char*>> partitions, const char* mmcType = nullptr) {
    const fs::path disk = m_root / "devices/virtual/block" / name;
    fs::create_directories(disk);
    std::ofstream(disk / "removable") << removable << "\n";
    if (mmcType != nullptr) {
      fs::create_directories(disk / "device");
      std::ofstream(disk / "device/type") << mmcType << "\n";
    }
    fs::create_directories(m_root / "dev/block");
    fs::create_directories(m_root / "class/block");
    for (const auto& [device, partition] : partitions) {
      fs::create_directories(disk / partition);
      std::ofstream(disk / partition / "partition") << "1\n";
      const std::string target = "../../devices/virtual/block/" + name + "/" + partition;
      fs::create_directory_symlink(target, m_root / "dev/block" / device);
      fs::create_directory_symlink(target, m_root / "class/block" / partition);
    }
  }
  fs::path m_root;
};

TEST(MountInfo, FieldsAreReadEscapesDecodedAndAPathIsHeldByTheDeepestPrefix) {
  const std::vector<MountEntry> mounts = ParseMountInfo(kMountInfo);
  ASSERT_EQ(mounts.size(), 8u) << "the three malformed lines are skipped";
  const MountEntry& card = mounts[1];
  EXPECT_EQ(std::tie(card.major, card.minor, card.root, card.mountPoint, card.fsType, card.source),
            std::make_tuple(8u, 17u, "/", "/media/user/CARD ONE/", "vfat", "/dev/sdb1"));
  EXPECT_EQ(mounts[5].root, "/DCIM");
  EXPECT_EQ(ParseMountInfo("1 2 3:4 / /a\\134b\\04 o - t s o").at(0).mountPoint, "/a\\b\\04/");
  EXPECT_EQ(ParseMountInfo("1 2 3:4 / //x/../y o - t s o").at(0).mountPoint, "/y/");
  for (const auto& [path, holder] : {std::pair{"/media/user/SD/DCIM/20240501_130509_E01.AVI", "/media/user/SD/"},
                                     {"/media/user/SD", "/media/user/SD/"},
                                     {"/media/user/SDX/a.avi", "/"},  // a longer name is not inside
                                     {"/media/user/SD/../BACKUP/x", "/media/user/BACKUP/"},
                                     {"relative/path", ""}}) {
    EXPECT_EQ(MountPointHolding(mounts, path), holder) << path;
  }
}

TEST_F(SysfsTree, OnlyRemovableMediaAndSdSlotsMountedWholeAreVolumes) {
  // 179:9 is the eMMC, 0:50 no block device at all.
  for (const auto& [major, minor, removable] : {std::tuple{8u, 17u, true}, {179u, 1u, true}, {179u, 9u, false},
                                                {8u, 33u, false}, {7u, 0u, false}, {0u, 50u, false}}) {
    EXPECT_EQ(IsRemovableBlockDevice(m_root, major, minor), removable) << major << ":" << minor;
  }
  // The bind mount of a card's folder is not a volume; /mnt/hidden is covered by a later tmpfs.
  EXPECT_EQ(RemovableMountPoints(ParseMountInfo(kMountInfo), {}, m_root),
            (std::vector<std::string>{"/media/user/CARD ONE/", "/media/user/SD/"}));
}

TEST_F(SysfsTree, NoDiskThatHoldsTheSystemOrSwapIsAVolume) {
  AddDisk("mmcblk2", "0", {{"179:17", "mmcblk2p1"}, {"179:18", "mmcblk2p2"}, {"179:19", "mmcblk2p3"}}, "SD");
  AddDisk("sdd", "1", {{"8:49", "sdd1"}, {"8:50", "sdd2"}});
  AddDisk("sde", "1", {{"8:65", "sde1"}, {"8:66", "sde2"}});
  AddDisk("sdf", "1", {{"8:81", "sdf1"}, {"8:82", "sdf2"}});
  // /home on an encrypted volume (a mapped device) over sde1.
  const fs::path mapped = m_root / "devices/virtual/block/dm-0";
  fs::create_directories(mapped / "slaves");
  fs::create_directory_symlink("../../sde/sde1", mapped / "slaves/sde1");
  fs::create_directory_symlink("../../devices/virtual/block/dm-0", m_root / "dev/block/253:0");
  const std::vector<MountEntry> mounts = ParseMountInfo(
      "1 0 179:18 / / rw - ext4 /dev/mmcblk2p2 rw\n"  // the system runs from an SD card
      "2 1 179:17 / /boot rw - vfat /dev/mmcblk2p1 rw\n"
      "3 1 179:19 / /media/pi/DATA rw - vfat /dev/mmcblk2p3 rw\n"
      "4 1 8:49 / /media/sdd rw - vfat /dev/sdd1 rw\n"
      "5 1 253:0 / /home rw - ext4 /dev/mapper/home rw\n"
      "6 1 8:66 / /media/sde rw - vfat /dev/sde2 rw\n"
      "7 1 8:81 / /media/swap\\040disk rw - ext4 /dev/sdf1 rw\n"
      "8 1 8:82 / /media/sdf rw - vfat /dev/sdf2 rw\n"
      "9 1 8:17 / /media/card rw - vfat /dev/sdb1 rw\n");
  const std::vector<SwapArea> swaps = ParseSwaps(
      "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n"
      "/dev/sdd2                               partition\t1048572\t\t0\t\t-2\n"
      "/media/swap\\040disk/swapfile          file\t\t65532\t\t0\t\t-3\n");
  ASSERT_EQ(swaps.size(), 2u);
  EXPECT_EQ(swaps[1].path, "/media/swap disk/swapfile");
  EXPECT_FALSE(swaps[1].partition);
  EXPECT_EQ(RemovableMountPoints(mounts, swaps, m_root), std::vector<std::string>{"/media/card/"});
}

}  // namespace
}  // namespace vx
