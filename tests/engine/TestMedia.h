// Recordings for the engine tests, written by the card maker into the build tree when first asked for.
#pragma once

#include <string>

namespace vx::test {

// Runs `vx880-mkcard --file <dir>/<name> <options>` once per name and returns the file's path.
std::string CardFile(const std::string& name, const std::string& options);
// A folder in the build tree for files the tests write themselves.
std::string MediaDir();
// Runs a shell command; true when it exits with 0.
bool RunCommand(const std::string& command);

}  // namespace vx::test
