// Fuzzes reading the viewer's preferences from stored texts: any texts give values within each field's limits.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/cardindex/ViewerPreferences.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The texts of the fields in their table's order, separated by newlines; a missing one is not stored.
  std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
  std::vector<std::string> texts;
  for (std::string line; std::getline(lines, line);) texts.push_back(line);
  const auto fields = vx::PreferenceFields();
  const vx::ViewerPreferences read = vx::ReadPreferences([&](const std::string& name) -> std::optional<std::string> {
    for (std::size_t i = 0; i < fields.size() && i < texts.size(); ++i) {
      if (name == fields[i].name) return texts[i];
    }
    return std::nullopt;
  });
  for (const vx::PreferenceField& field : fields) {
    const double value = read.*field.value;
    if (!std::isfinite(value) || value < field.min || value > field.max) std::abort();
    // What is stored reads back as the same value.
    if (vx::ParsePreference(field, vx::FormatPreference(field, value)) != value) std::abort();
  }
  return 0;
}
