// Reading the viewer's preferences from stored texts: what a hand-edited store may hold never becomes a value.
#include <gtest/gtest.h>

#include <map>

#include "core/cardindex/ViewerPreferences.h"

namespace vx {
namespace {

ViewerPreferences Read(const std::map<std::string, std::string>& stored) {
  return ReadPreferences([&](const std::string& name) -> std::optional<std::string> {
    const auto found = stored.find(name);
    return found == stored.end() ? std::nullopt : std::optional(found->second);
  });
}

TEST(ViewerPreferences, StoredTextsOutsideTheLimitsOrNotNumbersGiveTheDefault) {
  const ViewerPreferences defaults;
  const struct {
    const char* name;
    const char* text;
    double ViewerPreferences::*value;
    double expected;
  } cases[] = {
      {"TripGapSeconds", "120", &ViewerPreferences::tripGapSeconds, 120.0},
      {"TripGapSeconds", " 0 ", &ViewerPreferences::tripGapSeconds, 0.0},
      {"TripGapSeconds", "600", &ViewerPreferences::tripGapSeconds, 600.0},
      {"TripGapSeconds", "601", &ViewerPreferences::tripGapSeconds, defaults.tripGapSeconds},
      {"TripGapSeconds", "-1", &ViewerPreferences::tripGapSeconds, defaults.tripGapSeconds},
      {"TripGapSeconds", "-0", &ViewerPreferences::tripGapSeconds, 0.0},
      {"TripGapSeconds", "1e300", &ViewerPreferences::tripGapSeconds, defaults.tripGapSeconds},
      {"BrakingG", "0.6", &ViewerPreferences::brakingG, 0.6},
      {"BrakingG", "0.604", &ViewerPreferences::brakingG, 0.6},  // to the dialog's two decimals
      {"BrakingG", "0,6", &ViewerPreferences::brakingG, defaults.brakingG},
      {"BrakingG", "nan", &ViewerPreferences::brakingG, defaults.brakingG},
      {"BrakingG", "inf", &ViewerPreferences::brakingG, defaults.brakingG},
      {"BrakingG", "", &ViewerPreferences::brakingG, defaults.brakingG},
      {"AccelerationG", "0.05", &ViewerPreferences::accelerationG, defaults.accelerationG},
      {"AccelerationG", "5", &ViewerPreferences::accelerationG, 5.0},
      {"TurnG", "0.3g", &ViewerPreferences::turnG, defaults.turnG},
      {"ImpactG", "0.4", &ViewerPreferences::impactG, defaults.impactG},
      {"ImpactG", "10", &ViewerPreferences::impactG, 10.0},
      {"ImpactG", "10.1", &ViewerPreferences::impactG, defaults.impactG},
      {"SpeedUnit", " mph ", &ViewerPreferences::speedUnit, 2.0},
      {"SpeedUnit", "km/h", &ViewerPreferences::speedUnit, 1.0},
      {"SpeedUnit", "Card", &ViewerPreferences::speedUnit, 0.0},
      {"SpeedUnit", "2", &ViewerPreferences::speedUnit, defaults.speedUnit},
      {"SpeedUnit", "miles", &ViewerPreferences::speedUnit, defaults.speedUnit},
  };
  for (const auto& c : cases) {
    const ViewerPreferences read = Read({{c.name, c.text}});
    EXPECT_EQ(read.*c.value, c.expected) << c.name << "=" << c.text;
    ViewerPreferences others = read;
    others.*c.value = defaults.*c.value;
    EXPECT_EQ(others, defaults) << c.name << "=" << c.text << " changed another value";
  }
  EXPECT_EQ(Read({}), defaults);
}

// What the store writes reads back the same, and the values reach the trip and event rules in their units.
TEST(ViewerPreferences, WrittenTextsReadBackAndReachTheRules) {
  const ViewerPreferences chosen{12.0, 0.55, 0.4, 0.6, 2.25, 2.0};
  std::map<std::string, std::string> stored;
  for (const PreferenceField& field : PreferenceFields()) stored[field.name] = FormatPreference(field, chosen.*field.value);
  EXPECT_EQ(Read(stored), chosen);
  EXPECT_EQ(chosen.Trips().maxGapMs, 12000);
  EXPECT_EQ(chosen.Thresholds().impactG, 2.25);
  EXPECT_EQ(chosen.Thresholds().averageMs, EventThresholds{}.averageMs);
  EXPECT_EQ(chosen.SpeedUnitPreference(), SpeedUnitChoice::Mph);
}

// A card's trips and events are read again for a new gap or threshold, not for a new speed unit.
TEST(ViewerPreferences, OnlyTheGapAndTheThresholdsChangeWhatACardReads) {
  const ViewerPreferences defaults;
  ViewerPreferences other = defaults;
  other.speedUnit = static_cast<double>(SpeedUnitChoice::Mph);
  EXPECT_TRUE(ReadsCardAlike(defaults, other));
  for (double ViewerPreferences::*value : {&ViewerPreferences::tripGapSeconds, &ViewerPreferences::turnG}) {
    other = defaults;
    other.*value += 1.0;
    EXPECT_FALSE(ReadsCardAlike(defaults, other));
  }
}

}  // namespace
}  // namespace vx
