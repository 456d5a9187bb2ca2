// Where the viewer's read-only data lies: the texts, map pages and anything else it reads at run time.
#pragma once

#include <filesystem>

namespace vx {

// The data folder of the running program: <prefix>/share/vx880 when it runs installed, from <prefix>/bin
// (also in a tree unpacked anywhere, as the folders stay where they are to one another); else the
// program's own folder, where the build puts the data beside it. Found from the program, never from the
// current folder, so a viewer started from any folder or a desktop launcher has its data.
std::filesystem::path DataFolder();

// The same for the program at `program`.
std::filesystem::path DataFolderOf(const std::filesystem::path& program);

}  // namespace vx
