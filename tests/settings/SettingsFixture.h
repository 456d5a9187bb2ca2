// A card folder, a copy of Setting.ini, a fixed computer zone and clock, and settings dialogs whose drive
// selection and folder browser the test answers.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>

#include "CFakeDriveList.h"
#include "TestTime.h"
#include "core/settings/SetupRecord.h"
#include "settings/CSettingDlg.h"
#include "settings/SettingDlgIds.h"

namespace vx::test {

namespace fs = std::filesystem;

class TestSettingDlg : public CSettingDlg {
 public:
  using CSettingDlg::CSettingDlg;

  QString m_strDriveAnswer;   // what the drive selection returns
  QString m_strBrowseAnswer;  // what the folder browser returns

 protected:
  QString RunDriveSelection() override { return m_strDriveAnswer; }
  QString BrowseCardFolder() override { return m_strBrowseAnswer; }
};

template <typename T>
T* Item(const CSettingDlg& dialog, int id) {
  auto* item = qobject_cast<T*>(dialog.GetDlgItem(id));
  EXPECT_NE(item, nullptr) << "control " << id;
  return item;
}

inline void Click(const CSettingDlg& dialog, int id) {
  if (auto* button = Item<QAbstractButton>(dialog, id)) QTest::mouseClick(button, Qt::LeftButton);
}

class SettingsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("vx-settings-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_dir);
    fs::create_directories(m_dir / "card");
    fs::copy_file(fs::path(VX_SOURCE_DIR) / "resources/Setting.ini", TextTable());
  }
  void TearDown() override {
    m_dialogs.clear();
    fs::remove_all(m_dir);
  }

  fs::path TextTable() const { return m_dir / "Setting.ini"; }
  // A folder of the test, made if missing, as the dialogs name folders: with a trailing separator.
  QString Folder(const char* name) const {
    fs::create_directories(m_dir / name);
    return QString::fromStdString((m_dir / name).string() + "/");
  }
  QString Card() const { return QString::fromStdString((m_dir / "card").string() + "/"); }
  void WriteCard(const SetupRecord& record, const QString& folder = {}) {
    ASSERT_TRUE(WriteSetupRecord((folder.isEmpty() ? Card() : folder).toStdString(), record));
  }
  SetupRecord CardRecord(const QString& folder = {}) const {
    return ReadSetupRecord((folder.isEmpty() ? Card() : folder).toStdString()).value_or(SetupRecord{});
  }

  // A dialog created and shown on the card (none when drive is empty).
  TestSettingDlg& OpenDialog(const QString& drive) {
    auto dialog = std::make_unique<TestSettingDlg>(nullptr, TextTable(), m_drives, [this] { return m_nNow.load(); });
    dialog->m_strDriveAnswer = drive;
    dialog->Create();
    dialog->show();
    m_dialogs.push_back(std::move(dialog));
    return *m_dialogs.back();
  }

  ScopedComputerZone m_zone{"KST-9"};
  std::atomic<std::int64_t> m_nNow{UtcSeconds(2024, 5, 1, 4, 5, 9)};  // 13:05:09 in the computer's zone
  CFakeDriveList m_drives;
  fs::path m_dir;
  std::vector<std::unique_ptr<TestSettingDlg>> m_dialogs;
};

}  // namespace vx::test
