// A write-protected card: its own settings are shown, and a SAVE that the file system refuses is said so and
// leaves the card's file as it was. The card is a read-only mount in a private mount namespace, so the write
// is really refused, also for root (for whom file modes refuse nothing).
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <fcntl.h>

#include <cerrno>
#include <fstream>
#include <iterator>

#include "MountNamespace.h"
#include "SettingsFixture.h"

namespace vx::test {
namespace {

using ReadOnlyCard = SettingsFixture;

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(ReadOnlyCard, ShowsItsOwnValuesAndRefusesASave) {
  if (!MountNamespacesWork()) GTEST_SKIP();
  SetupRecord record = MakeDefaultRecord(36);
  record.wDriveFB = 30;
  record.dwRomCount = 12;
  StoreWideText(record.wszCompany, u"Read-only Co");
  WriteCard(record);
  const fs::path mountPoint = m_dir / "ro";
  fs::create_directories(mountPoint);
  ::setenv("VX_READONLY_CARD", mountPoint.c_str(), 1);
  const std::string setup = "mount -t tmpfs -o size=1m vxcard " + mountPoint.string() + "; cp " +
                            (m_dir / "card" / kSetupFileName).string() + " " + mountPoint.string() +
                            "; mount -o remount,ro " + mountPoint.string();
  EXPECT_TRUE(RunTestInMountNamespace(setup, "ReadOnlyCard.DISABLED_InsideTheNamespace"));
}

// Runs in the namespace that ShowsItsOwnValuesAndRefusesASave prepared.
TEST_F(ReadOnlyCard, DISABLED_InsideTheNamespace) {
  const char* mounted = std::getenv("VX_READONLY_CARD");
  ASSERT_NE(mounted, nullptr);
  const QString card = QString::fromLocal8Bit(mounted) + "/";
  const fs::path file = fs::path(mounted) / kSetupFileName;
  const int probe = ::open(file.c_str(), O_WRONLY);
  ASSERT_LT(probe, 0) << "the card must refuse writing";
  ASSERT_EQ(errno, EROFS);
  const std::string before = Bytes(file);

  TestSettingDlg& dialog = OpenDialog(card);
  EXPECT_EQ(Item<QSlider>(dialog, IDC_DRIVE_FB)->value(), 70);
  EXPECT_EQ(Item<QLineEdit>(dialog, IDC_COMPANY)->text(), "Read-only Co");
  EXPECT_EQ(Item<QLabel>(dialog, IDC_ROM_COUNT)->text(), "12");

  QTest::mouseClick(qobject_cast<QAbstractButton*>(dialog.GetDlgItem(IDC_SAVE)), Qt::LeftButton);
  QMessageBox* box = OpenMessageBox(dialog);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->text().contains("Read-only file system")) << box->text().toStdString();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(Bytes(file), before);
}

}  // namespace
}  // namespace vx::test
