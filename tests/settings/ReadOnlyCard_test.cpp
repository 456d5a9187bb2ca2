// A write-protected card shows its own settings. The card is a read-only mount, so that opening setup.cfg for
// writing is really refused, also for root (for whom file modes refuse nothing).
#include <QLineEdit>

#include <fcntl.h>

#include <cerrno>
#include <cstdlib>

#include "SettingsFixture.h"

namespace vx::test {
namespace {

using ReadOnlyCard = SettingsFixture;

// Run by CTest in a private mount namespace, where mounting touches nothing outside.
TEST_F(ReadOnlyCard, ShowsItsOwnValues) {
  if (!std::getenv("VX_MOUNT_NAMESPACE")) GTEST_SKIP() << "mounts only in a private mount namespace";
  const QString card = Folder("ro");
  const std::string mountPoint = card.toStdString();
  ASSERT_EQ(std::system(("mount -t tmpfs -o size=1m vxcard " + mountPoint).c_str()), 0);
  SetupRecord record = MakeDefaultRecord(36);
  StoreWideText(record.wszCompany, u"Read-only Co");
  WriteCard(record, card);
  ASSERT_EQ(std::system(("mount -o remount,ro " + mountPoint).c_str()), 0);
  const int fd = ::open((mountPoint + kSetupFileName).c_str(), O_WRONLY);
  ASSERT_TRUE(fd < 0 && errno == EROFS) << "the card must refuse writing";
  EXPECT_EQ(Item<QLineEdit>(OpenDialog(card), IDC_COMPANY)->text(), "Read-only Co");
  m_dialogs.clear();
  EXPECT_EQ(std::system(("umount " + mountPoint).c_str()), 0);
}

}  // namespace
}  // namespace vx::test
