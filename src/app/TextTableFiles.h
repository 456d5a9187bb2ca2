// Which Setting.ini the viewer reads its texts from, and where it keeps the chosen language.
#pragma once

#include <filesystem>
#include <vector>

#include "player/CQuelmarDlg.h"

namespace vx {

// The places looked at, in order: the current folder, the user's configuration folder
// ($XDG_CONFIG_HOME/vx880, else ~/.config/vx880) and the program's data folder.
std::vector<std::filesystem::path> TextTablePlaces(const std::filesystem::path& dataFolder);

// The first place that has a Setting.ini (the data folder's when none has). The language is saved
// into that file; when it cannot be written (an installed copy), into a copy of it in the user's
// configuration folder, which the window reads from then on and every later start reads first.
TextTableFiles FindTextTable(const std::filesystem::path& dataFolder);

}  // namespace vx
