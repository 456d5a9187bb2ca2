// Runs one test of this executable in a private mount namespace, where it may mount file systems (a read-only
// card, a card inserted) without touching the computer's own mount table. As root this is `unshare --mount`;
// otherwise a user namespace maps the user to root inside.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>

#include "ToolRunner.h"

namespace vx::test {

inline std::string UnshareCommand() {
  return ::geteuid() == 0 ? "unshare --mount --propagation private" : "unshare --map-root-user --mount --propagation private";
}

// Whether this machine lets the test make a mount namespace. When it does not, the reason goes to stderr as a
// "SKIPPED:" line, which CTest matches to count the test as skipped (a GTEST_SKIP alone reads as passed there).
inline bool MountNamespacesWork() {
  if (RunTool(UnshareCommand() + " true 2>/dev/null").status == 0) return true;
  std::fprintf(stderr, "SKIPPED: unshare cannot make a mount namespace here\n");
  return false;
}

// Runs `setup` (shell commands, set -e) and then the DISABLED_ test `testName` of this executable inside a new
// mount namespace; true when that test passed. The test's output goes to this test's log.
inline bool RunTestInMountNamespace(const std::string& setup, const std::string& testName) {
  std::array<char, 4096> self{};
  const ssize_t n = ::readlink("/proc/self/exe", self.data(), self.size() - 1);
  if (n <= 0) return false;
  const std::string command = UnshareCommand() + " sh -c 'set -e; " + setup +
                              "; exec \"$0\" --gtest_also_run_disabled_tests --gtest_filter=" + testName + "' '" +
                              std::string(self.data(), static_cast<std::size_t>(n)) + "' 2>&1";
  const ToolOutput result = RunTool(command);
  std::printf("%s", result.out.c_str());
  return result.status == 0 && result.out.find("[  PASSED  ] 1 test") != std::string::npos;
}

}  // namespace vx::test
