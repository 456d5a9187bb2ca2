// Finding Setting.ini and keeping the chosen language where the next start reads it.
#include "app/TextTableFiles.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <system_error>

#include "core/text/TextTable.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

fs::path UserConfigFolder() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) return fs::path(config) / "vx880";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : "/tmp") / ".config" / "vx880";
}

std::optional<fs::path> SaveIntoUserCopy(const fs::path& read, int position) {
  const fs::path copy = UserConfigFolder() / kSettingFileName;
  std::error_code error;
  fs::create_directories(copy.parent_path(), error);
  if (copy != read) fs::copy_file(read, copy, fs::copy_options::overwrite_existing, error);
  if (!error && SaveSelectedLanguage(copy, position)) return copy;
  std::fprintf(stderr, "vx880: the chosen language cannot be kept in %s or %s\n", read.c_str(), copy.c_str());
  return std::nullopt;
}

}  // namespace

std::vector<fs::path> TextTablePlaces(const fs::path& dataFolder) {
  std::error_code error;
  return {fs::current_path(error) / kSettingFileName, UserConfigFolder() / kSettingFileName,
          dataFolder / kSettingFileName};
}

TextTableFiles FindTextTable(const fs::path& dataFolder) {
  const std::vector<fs::path> places = TextTablePlaces(dataFolder);
  fs::path read = places.back();
  for (const fs::path& place : places) {
    std::error_code error;
    if (fs::is_regular_file(place, error)) {
      read = place;
      break;
    }
  }
  return {read, [read](int position) -> std::optional<fs::path> {
            if (SaveSelectedLanguage(read, position)) return read;
            return SaveIntoUserCopy(read, position);
          }};
}

}  // namespace vx
