// Folder trees for the catalogue tests: empty or sparse recordings, a few or thousands.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace vx::test {

// Creates `path` (and its folders) with `bytes` bytes; the file is sparse, so large sizes cost no disk.
inline void MakeFile(const std::filesystem::path& path, std::uint64_t bytes = 0) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).flush();
  std::filesystem::resize_file(path, bytes);
}

// `folders` folders of `filesPerFolder` empty recordings each under `root`; returns the number of files.
inline int MakeLargeTree(const std::filesystem::path& root, int folders, int filesPerFolder) {
  for (int f = 0; f < folders; ++f) {
    for (int i = 0; i < filesPerFolder; ++i)
      MakeFile(root / ("folder" + std::to_string(f)) / ("20261206_1015" + std::to_string(i) + "_D01.AVI"));
  }
  return folders * filesPerFolder;
}

}  // namespace vx::test
