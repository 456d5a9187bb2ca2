// The viewer's own preferences: the gap that still joins a trip, the event thresholds and the speed unit.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/cardindex/EventDetector.h"
#include "core/cardindex/Trips.h"
#include "core/telemetry/MomentReadout.h"

namespace vx {

struct ViewerPreferences {
  double tripGapSeconds = TripRules{}.maxGapMs / 1000.0;
  double brakingG = EventThresholds{}.brakingG;
  double accelerationG = EventThresholds{}.accelerationG;
  double turnG = EventThresholds{}.turnG;
  double impactG = EventThresholds{}.impactG;
  double speedUnit = static_cast<double>(SpeedUnitChoice::Card);  // a SpeedUnitChoice, kept like every field

  TripRules Trips() const;
  // The four limits in g; the averaging and merging spans stay as the detector has them.
  EventThresholds Thresholds() const;
  SpeedUnitChoice SpeedUnitPreference() const;
  bool operator==(const ViewerPreferences&) const = default;
};

// Whether both find the same trips and events on a card: the gap and the thresholds agree (the speed unit only
// changes how the window shows a moment).
bool ReadsCardAlike(const ViewerPreferences& a, const ViewerPreferences& b);

// One choice of a preference that picks among names: stored by its name, shown by its label.
struct PreferenceChoice {
  const char* name;
  const char* label;
};

// One preference as the store names it and the dialog shows it. The limits keep a hand-edited store from
// giving a value that finds nothing (a gap of hours, an impact of 50 g) or everything (a braking of 0.01 g).
// A field with choices holds the index of one of them and is stored by that choice's name.
struct PreferenceField {
  const char* name;   // the value's name in the store
  const char* label;  // what the dialog calls it, with its unit
  double ViewerPreferences::*value;
  double min;
  double max;
  int decimals;  // shown and stored with this many decimals
  std::span<const PreferenceChoice> choices = {};
};

std::span<const PreferenceField> PreferenceFields();

// A stored text as the field's value: a number in the C locale (blanks around it allowed), rounded to the
// field's decimals and within its limits, or for a field with choices the index of the choice it names;
// nothing otherwise, so that the caller keeps the default.
std::optional<double> ParsePreference(const PreferenceField& field, std::string_view text);
// The value as it is stored: the field's decimals in the C locale, or the name of the chosen choice.
std::string FormatPreference(const PreferenceField& field, double value);

// The preferences from the stored texts by name; a value missing or refused by ParsePreference is the default.
using StoredText = std::function<std::optional<std::string>(const std::string& name)>;
ViewerPreferences ReadPreferences(const StoredText& stored);

}  // namespace vx
