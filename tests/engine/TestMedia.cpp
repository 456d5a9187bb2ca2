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

// Runs `before` + a path + `after` once per name, which writes the file at that path. It is written in a
// folder of this process first, so that a test running in parallel never sees half a file; the named file
// moves last, after any other file the command wrote beside it (the rear file of a split recording).
static std::string MadeOnce(const std::string& name, const std::string& before, const std::string& after) {
  const std::filesystem::path dir = MediaDir(), path = dir / name, temp = dir / ("tmp" + std::to_string(getpid()));
  if (std::filesystem::exists(path)) return path;
  std::filesystem::create_directories(temp);
  const std::string command = before + (temp / name).string() + " " + after + " > /dev/null 2>&1";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
  for (const auto& entry : std::filesystem::directory_iterator(temp)) {
    if (entry.path().filename() != name) std::filesystem::rename(entry.path(), dir / entry.path().filename());
  }
  std::filesystem::rename(temp / name, path);
  std::filesystem::remove(temp);
  return path;
}

std::string CardFile(const std::string& name, const std::string& options) {
  return MadeOnce(name, std::string(VX_BIN_DIR) + "/vx880-mkcard --file ", options);
}

std::string CardFolder(const std::string& name, const std::string& options) {
  return MadeOnce(name, std::string(VX_BIN_DIR) + "/vx880-mkcard " + options + " ", "");
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

std::pair<std::string, std::string> FrontRearPair(const std::string& stem, int seconds, int rearSeconds) {
  return {CardFile(stem + "F.MP4", "--streams 1 --seconds " + std::to_string(seconds)),
          PatternFile(stem + "R.MP4", "blue", rearSeconds)};
}

}  // namespace vx::test
