// The data folder beside the program or in the installed tree it runs from.
#include "core/common/DataFolder.h"

namespace vx {

std::filesystem::path DataFolderOf(const std::filesystem::path& program) {
  const std::filesystem::path beside = program.parent_path();
  // VX_DATA_FROM_PROGRAM is the installed data folder relative to the installed program ("../share/vx880").
  const std::filesystem::path installed = (beside / VX_DATA_FROM_PROGRAM).lexically_normal();
  std::error_code ec;
  return std::filesystem::is_directory(installed, ec) ? installed : beside;
}

std::filesystem::path DataFolder() {
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  return DataFolderOf(ec ? std::filesystem::current_path(ec) / "vx880-player" : program);
}

}  // namespace vx
