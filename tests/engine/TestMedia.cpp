// Makes test recordings with the card maker at test time; nothing of it is kept in the repository.
#include "TestMedia.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace vx::test {

std::string MediaDir() {
  const std::filesystem::path dir = std::filesystem::path(VX_BIN_DIR).parent_path() / "test-media" / "engine";
  std::filesystem::create_directories(dir);
  return dir.string();
}

bool RunCommand(const std::string& command) { return std::system(command.c_str()) == 0; }

std::string CardFile(const std::string& name, const std::string& options) {
  const std::string path = MediaDir() + "/" + name;
  if (std::filesystem::exists(path)) return path;
  // Written under a temporary name first, so that a test running in parallel never sees half a file.
  const std::string temp = MediaDir() + "/tmp" + std::to_string(getpid()) + "-" + name;
  const std::string command = std::string(VX_BIN_DIR) + "/vx880-mkcard --file " + temp + " " + options +
                              " > /dev/null 2>&1";
  if (!RunCommand(command)) throw std::runtime_error("card maker failed: " + command);
  std::filesystem::rename(temp, path);
  return path;
}

}  // namespace vx::test
