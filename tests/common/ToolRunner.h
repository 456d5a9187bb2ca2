// Runs the project's command-line tools from tests and collects what they print.
#pragma once

#include <sys/wait.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace vx::test {

struct ToolOutput {
  int status = -1;
  std::string out;
};

// Runs `command` through the shell; stdout is captured, stderr goes to the test log unless the command sends it.
inline ToolOutput RunTool(const std::string& command) {
  ToolOutput result;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return result;
  for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe)) result.out += static_cast<char>(c);
  const int raw = ::pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

inline std::string Tool(const char* name) { return std::string(VX_BIN_DIR) + "/" + name; }

// `text` as one shell word, whatever bytes it holds.
inline std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// `command` run with a fresh tmpfs mounted on `dir` (mount options such as "size=300k" or "ro"), in a
// user and mount namespace of its own: a full or write-protected card for any user, root included,
// and nothing changes for the rest of the machine.
inline std::string OnPrivateTmpfs(const std::string& dir, const std::string& options, const std::string& command) {
  return "unshare --user --map-root-user --mount sh -c " +
         Quote("mount -t tmpfs -o " + options + " tmpfs " + Quote(dir) + " && " + command);
}

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
 public:
  explicit TempDir(const std::string& tag)
      : m_path(std::filesystem::temp_directory_path() / ("vx-" + tag + "-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
  }
  ~TempDir() { std::filesystem::remove_all(m_path); }
  std::string operator/(const std::string& name) const { return (m_path / name).string(); }
  const std::filesystem::path& Path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

// The lines of a tool's output, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Every byte of a file; empty when it cannot be read.
inline std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace vx::test
