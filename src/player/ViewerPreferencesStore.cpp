// Reads and writes the preferences as texts in the C locale, so that a store moves between locales unchanged.
#include "player/ViewerPreferencesStore.h"

namespace vx {
namespace {

constexpr char kPreferencesKey[] = "Viewer\\Preferences";

}  // namespace

ViewerPreferences LoadViewerPreferences(const CSettingsStore& store) {
  return ReadPreferences([&](const std::string& name) { return store.ReadText(kPreferencesKey, name); });
}

bool SaveViewerPreferences(const CSettingsStore& store, const ViewerPreferences& preferences) {
  for (const PreferenceField& field : PreferenceFields()) {
    if (!store.WriteText(kPreferencesKey, field.name, FormatPreference(field, preferences.*field.value))) return false;
  }
  return true;
}

}  // namespace vx
