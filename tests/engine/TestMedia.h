// Recordings for the engine tests, written into the build tree when first asked for.
#pragma once

#include <string>

namespace vx::test {

// Runs `vx880-mkcard --file <dir>/<name> <options>` once per name and returns the file's path.
std::string CardFile(const std::string& name, const std::string& options);
// Runs `streams` (gst-launch pipeline text feeding `mp4mux name=mux`) into <dir>/<name> once per name and
// returns the file's path: for recordings the card maker does not write.
std::string MuxedFile(const std::string& name, const std::string& streams);
// A folder in the build tree for files the tests write themselves.
std::string MediaDir();

}  // namespace vx::test
