// The preference fields with their limits, and the bounded reading of their stored texts.
#include "core/cardindex/ViewerPreferences.h"

#include <charconv>
#include <cmath>

#include "core/common/CFormat.h"

namespace vx {
namespace {

using P = ViewerPreferences;
constexpr PreferenceChoice kSpeedUnits[] = {{"Card", "Card's unit"}, {"km/h", "km/h"}, {"mph", "mph"}};
constexpr PreferenceField kFields[] = {
    {"TripGapSeconds", "Longest gap within a trip (s)", &P::tripGapSeconds, 0.0, 600.0, 0},
    {"BrakingG", "Hard braking (g)", &P::brakingG, 0.1, 5.0, 2},
    {"AccelerationG", "Hard acceleration (g)", &P::accelerationG, 0.1, 5.0, 2},
    {"TurnG", "Sharp turn (g)", &P::turnG, 0.1, 5.0, 2},
    {"ImpactG", "Impact (g)", &P::impactG, 0.5, 10.0, 2},
    {"SpeedUnit", "Speed unit", &P::speedUnit, 0.0, 2.0, 0, kSpeedUnits},
};

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

TripRules ViewerPreferences::Trips() const {
  TripRules rules;
  rules.maxGapMs = std::llround(tripGapSeconds * 1000.0);
  return rules;
}

EventThresholds ViewerPreferences::Thresholds() const {
  EventThresholds thresholds;
  thresholds.brakingG = brakingG;
  thresholds.accelerationG = accelerationG;
  thresholds.turnG = turnG;
  thresholds.impactG = impactG;
  return thresholds;
}

SpeedUnitChoice ViewerPreferences::SpeedUnitPreference() const { return static_cast<SpeedUnitChoice>(speedUnit); }

bool ReadsCardAlike(const ViewerPreferences& a, const ViewerPreferences& b) {
  return a.tripGapSeconds == b.tripGapSeconds && a.Thresholds() == b.Thresholds();
}

std::span<const PreferenceField> PreferenceFields() { return kFields; }

std::optional<double> ParsePreference(const PreferenceField& field, std::string_view text) {
  text = Trimmed(text);
  if (!field.choices.empty()) {
    for (std::size_t i = 0; i < field.choices.size(); ++i) {
      if (text == field.choices[i].name) return static_cast<double>(i);
    }
    return std::nullopt;
  }
  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  const double scale = std::pow(10.0, field.decimals);
  value = std::round(value * scale) / scale + 0.0;  // "-0" reads as 0
  if (value < field.min || value > field.max) return std::nullopt;
  return value;
}

std::string FormatPreference(const PreferenceField& field, double value) {
  if (!field.choices.empty()) return field.choices[static_cast<std::size_t>(value)].name;
  return FormatFixed(value, field.decimals);
}

ViewerPreferences ReadPreferences(const StoredText& stored) {
  ViewerPreferences preferences;
  for (const PreferenceField& field : kFields) {
    const std::optional<std::string> text = stored(field.name);
    if (const std::optional<double> value = text ? ParsePreference(field, *text) : std::nullopt) {
      preferences.*field.value = *value;
    }
  }
  return preferences;
}

}  // namespace vx
