// Saving setup.cfg killed at random moments: the file is always one complete version, never a mixture.
#include "core/settings/SetupRecord.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace vx {
namespace {

namespace fs = std::filesystem;

constexpr int kKills = 1000;

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The bytes a save of record writes, followed by the tail of a longer file that saves keep.
std::string Saved(const SetupRecord& record, const std::string& tail) {
  const auto bytes = EncodeSetupRecord(record);
  const std::uint32_t crc = SetupRecordCrc(bytes);
  return std::string(bytes.begin(), bytes.end()) + std::string(reinterpret_cast<const char*>(&crc), sizeof crc) + tail;
}

TEST(SetupCrashSafety, ASaveKilledAtAnyMomentLeavesOneCompleteVersion) {
  const fs::path dir = fs::temp_directory_path() / ("vx-crash-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string folder = dir.string() + "/";
  const fs::path file = dir / kSetupFileName;
  SetupRecord a = MakeDefaultRecord(36);
  StoreWideText(a.wszCompany, u"version A");
  SetupRecord b = MakeDefaultRecord(-14, true);
  StoreWideText(b.wszCompany, u"version B");
  const std::string tail(100000, 'T');  // a longer file from newer firmware: the copying takes a while
  const std::string versionA = Saved(a, tail);
  const std::string versionB = Saved(b, tail);

  std::mt19937 random(880);
  std::uniform_int_distribution<int> delayMicroseconds(0, 4000);
  int sawA = 0, sawB = 0, temporaries = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << versionA;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Saves B and A in turn until killed, so that the kill lands anywhere in a save.
      for (int i = 0;; ++i) (void)WriteSetupRecord(folder, i % 2 == 0 ? b : a);
    }
    ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const std::string now = FileBytes(file);
    ASSERT_TRUE(now == versionA || now == versionB) << "kill " << kill << ": a mixed file of " << now.size() << " bytes";
    (now == versionA ? sawA : sawB)++;
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.path() != file) {
        ++temporaries;
        fs::remove(entry.path());
      }
    }
  }
  std::printf("%d kills: %d left version A, %d version B; %d left a temporary file behind\n", kKills, sawA, sawB,
              temporaries);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vx
