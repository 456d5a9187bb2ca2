// When a recording started, in UTC, from the camera's local time in its name and the zone it was named in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/player/RecordingRules.h"
#include "core/settings/SetupRecord.h"

namespace vx {

// The zone a card's recordings are named in.
struct NamingZone {
  int offsetMinutes = 0;        // east of UTC
  bool fromSetupFile = false;   // the card's setup.cfg gave it; else the computer's zone at that time
};

struct RecordingStart {
  std::int64_t utcSeconds = 0;
  NamingZone zone;
};

// The card's setup.cfg, looked for in the recording's folder and up to three folders above it (cameras keep
// their recordings a folder or two below the card's root); nothing when there is none.
std::optional<SetupRecord> CardSetupRecord(const std::string& recordingPath);
// The zone of that setup.cfg; nothing when there is none.
std::optional<int> CardSetupZoneMinutes(const std::string& recordingPath);

// The stamp, taken as local time in the zone of the card's setup.cfg where there is one, else in the
// computer's zone as it stood at that local time (summer time included).
RecordingStart StampToUtc(const NameStamp& stamp, std::optional<int> setupZoneMinutes);

// The start of the recording at `path` from its name's stamp; nothing when the name carries none.
std::optional<RecordingStart> RecordingStartOf(const std::string& path);

// "UTC+09:00, setup.cfg" or "UTC-05:00, this computer's zone": the zone a time from a name was read in.
std::string NamingZoneText(const NamingZone& zone);

}  // namespace vx
