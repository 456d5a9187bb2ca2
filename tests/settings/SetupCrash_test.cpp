// Saving setup.cfg killed at random moments: the file is always one complete version, never a mixture.
#include "core/settings/SetupRecord.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "ToolRunner.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

// The bytes a save of record writes, followed by the tail of a longer file that saves keep.
std::string Saved(const SetupRecord& record, const std::string& tail) {
  const auto bytes = EncodeSetupRecord(record);
  const std::uint32_t crc = SetupRecordCrc(bytes);
  return std::string(bytes.begin(), bytes.end()) + std::string(reinterpret_cast<const char*>(&crc), sizeof crc) + tail;
}

TEST(SetupCrashSafety, ASaveKilledAtAnyMomentLeavesOneCompleteVersion) {
  const test::TempDir temp("crash");
  const fs::path& dir = temp.Path();
  const fs::path file = dir / kSetupFileName;
  SetupRecord a = MakeDefaultRecord(36);
  StoreWideText(a.wszCompany, u"version A");
  SetupRecord b = MakeDefaultRecord(-14, true);
  StoreWideText(b.wszCompany, u"version B");
  const std::string tail(100000, 'T');  // a longer file from newer firmware: the copying takes a while
  const std::string versionA = Saved(a, tail), versionB = Saved(b, tail);

  std::mt19937 random(880);
  std::uniform_int_distribution<int> delayMicroseconds(0, 4000);
  for (int kill = 0; kill < 1000; ++kill) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << versionA;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Saves B and A in turn until killed, so that the kill lands anywhere in a save.
      for (int i = 0;; ++i) (void)WriteSetupRecord(dir.string() + "/", i % 2 == 0 ? b : a);
    }
    ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const std::string now = test::FileBytes(file);
    ASSERT_TRUE(now == versionA || now == versionB) << "kill " << kill << ": a mixed file of " << now.size() << " bytes";
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.path() != file) fs::remove(entry.path());  // a killed save's temporary copy
    }
  }
}

}  // namespace
}  // namespace vx
