// A write-protected card shows its own settings. The card is a read-only mount in a private mount namespace, so
// that opening setup.cfg for writing is really refused, also for root (for whom file modes refuse nothing).
#include <QLineEdit>

#include <fcntl.h>

#include <cerrno>

#include "MountNamespace.h"
#include "SettingsFixture.h"

namespace vx::test {
namespace {

using ReadOnlyCard = SettingsFixture;

TEST_F(ReadOnlyCard, ShowsItsOwnValues) {
  if (!MountNamespacesWork()) GTEST_SKIP();
  SetupRecord record = MakeDefaultRecord(36);
  StoreWideText(record.wszCompany, u"Read-only Co");
  WriteCard(record);
  const std::string ro = Folder("ro").toStdString();
  ::setenv("VX_READONLY_CARD", ro.c_str(), 1);
  const std::string setup = "mount -t tmpfs -o size=1m vxcard " + ro + "; cp " + Card().toStdString() +
                            kSetupFileName + " " + ro + "; mount -o remount,ro " + ro;
  EXPECT_TRUE(RunTestInMountNamespace(setup, "ReadOnlyCard.DISABLED_InsideTheNamespace"));
}

// Runs in the namespace that ShowsItsOwnValues prepared.
TEST_F(ReadOnlyCard, DISABLED_InsideTheNamespace) {
  const char* mounted = std::getenv("VX_READONLY_CARD");
  ASSERT_NE(mounted, nullptr);
  const fs::path file = fs::path(mounted) / kSetupFileName;  // the mount point ends with a separator
  ASSERT_TRUE(::open(file.c_str(), O_WRONLY) < 0 && errno == EROFS) << "the card must refuse writing";
  TestSettingDlg& dialog = OpenDialog(QString::fromLocal8Bit(mounted));
  EXPECT_EQ(Item<QLineEdit>(dialog, IDC_COMPANY)->text(), "Read-only Co");
}

}  // namespace
}  // namespace vx::test
