// Makes test recordings at test time, with the card maker or gst-launch; none is kept in the repository.
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

// Runs `before` + a path + `after` once per name, which writes the file at that path. It is written under
// a temporary name first, so that a test running in parallel never sees half a file.
static std::string MadeOnce(const std::string& name, const std::string& before, const std::string& after) {
  const std::string path = MediaDir() + "/" + name;
  if (std::filesystem::exists(path)) return path;
  const std::string temp = MediaDir() + "/tmp" + std::to_string(getpid()) + "-" + name;
  const std::string command = before + temp + " " + after + " > /dev/null 2>&1";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
  std::filesystem::rename(temp, path);
  return path;
}

std::string CardFile(const std::string& name, const std::string& options) {
  return MadeOnce(name, std::string(VX_BIN_DIR) + "/vx880-mkcard --file ", options);
}

std::string MuxedFile(const std::string& name, const std::string& streams, const std::string& muxer) {
  return MadeOnce(name, "gst-launch-1.0 -q " + muxer + " name=mux ! filesink location=", streams);
}

std::string PatternFile(const std::string& name, const std::string& pattern, int seconds, const std::string& muxer) {
  return MuxedFile(name,
                   "videotestsrc pattern=" + pattern + " num-buffers=" + std::to_string(seconds * 30) +
                       " ! video/x-raw,width=320,height=240,framerate=30/1 ! x264enc bframes=0 ! h264parse ! mux.",
                   muxer);
}

}  // namespace vx::test

namespace vx::test {

std::pair<std::string, std::string> FrontRearPair(const std::string& stem, int seconds, int rearSeconds) {
  return {CardFile(stem + "F.MP4", "--streams 1 --seconds " + std::to_string(seconds)),
          PatternFile(stem + "R.MP4", "blue", rearSeconds)};
}

}  // namespace vx::test
