// The viewer's preferences kept in its own settings store, one value per preference under one key.
#pragma once

#include "app/CSettingsStore.h"
#include "core/cardindex/ViewerPreferences.h"

namespace vx {

// The stored preferences; a value that is missing, not a number or out of its limits is the default.
ViewerPreferences LoadViewerPreferences(const CSettingsStore& store);
// False when the store cannot be written.
bool SaveViewerPreferences(const CSettingsStore& store, const ViewerPreferences& preferences);

}  // namespace vx
