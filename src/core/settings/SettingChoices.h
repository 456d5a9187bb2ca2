// What the settings dialog's controls hold: how a record shows on them and how SAVE collects it from them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/settings/SetupRecord.h"
#include "core/settings/ZoneClock.h"

namespace vx {

// Radio groups: the index of the checked button; kNoChoice when none is checked.
inline constexpr int kUse = 0;
inline constexpr int kNotUse = 1;
inline constexpr int kNoChoice = -1;
inline constexpr int kHd = 0;
inline constexpr int kVga = 1;

inline constexpr int kImpulseMaxPosition = 90;
inline constexpr int kBitrateMinMbps = 2;
inline constexpr int kBitrateMaxMbps = 6;
inline constexpr int kCutOffMaxPosition = 3000;
inline constexpr int kCutOffBaseMillivolts = 10000;
// Where the cut-off slider stands when the record's voltage is outside 10.000 to 13.000 V.
inline constexpr int kCutOffFallbackPosition = 1800;

struct SettingChoices {
  // Impulse slider positions 0..90 (front/back, left/right, top/bottom); the record stores 100 - position.
  std::array<int, 3> drive{};
  std::array<int, 3> parking{};
  int frontMbps = kBitrateMinMbps;
  int rearMbps = kBitrateMinMbps;
  int recordSound = kUse;
  int buzzer = kUse;
  int parkingSDUsage = kNotUse;
  int mic = kNotUse;
  int voice = kUse;
  int rearCamera = kUse;
  int speedUnit = 0;  // 0 km/h, 1 mile/h; kNoChoice for a byte the dialog does not know, kept by SAVE
  int hdVga = kVga;
  int cutOffPos = 2000;
  bool timeSetUse = false;
  bool summerTime = false;
  std::u16string serialNumber, company, carLicence;

  bool operator==(const SettingChoices&) const = default;
};

// The controls for a record read from a card (or for the defaults, which the same rule shows).
SettingChoices ChoicesFromRecord(const SetupRecord& record);

// The record SAVE writes: `kept` (the card's record, or the defaults) with every field that a control feeds
// taken from the choices, the zone's base quarter hours (4 more with summer time) and the clock's time.
// Nothing when the serial number does not fit its single-byte field.
std::optional<SetupRecord> CollectRecord(const SetupRecord& kept, const SettingChoices& choices,
                                         std::int16_t zoneQuarterHours, const ZoneTime& time);

// In VGA the two bitrates together may not exceed 8 Mbit/s: the most one may have beside the other.
int VgaBitrateCap(int otherMbps);
// The cut-off slider's position for a record's voltage.
int CutOffPosition(std::uint32_t millivolts);
// "12.000 V" for a slider position.
std::string CutOffText(int position);
// The counter as the dialog shows it: unsigned decimal.
std::string RomCountText(std::uint32_t romCount);

}  // namespace vx
