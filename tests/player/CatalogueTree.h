// Folder trees for the catalogue tests, and a wait on the event loop that gives up instead of hanging.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace vx::test {

// Creates `path` (and its folders) with `bytes` bytes; the file is sparse, so large sizes cost no disk.
void MakeFile(const std::filesystem::path& path, std::uint64_t bytes = 0);

// `folders` folders of `filesPerFolder` empty recordings each under `root`; returns the number of files.
int MakeLargeTree(const std::filesystem::path& root, int folders, int filesPerFolder);

// Runs the event loop until `done` holds; false when it still does not after a minute.
bool WaitFor(const std::function<bool()>& done);

}  // namespace vx::test
