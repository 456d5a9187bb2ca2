// Other cameras' telemetry layouts the card maker can write a recording's drive in, one writer per layout.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/telemetry/TelemetryLog.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx::mkcard {

// What a layout writer gets once the video file is written: the file and the drive it shows.
struct LayoutInput {
  std::string path;                          // the recording, whole and closed
  std::span<const TelemetryRecord> records;  // the drive as the VX-880QN logs it
  std::int64_t startUtcMs = 0;               // UTC time of the recording's first frame
};

struct LayoutWriter {
  const char* name;        // the value of --layout
  const char* sideSuffix;  // the file written beside the recording ("" when the layout lives inside it)
  bool mp4Only;            // the layout is made of MP4 boxes
  bool (*write)(const LayoutInput& input, std::string& error);
};

// The layouts besides the VX-880QN log; nullptr when `name` is none of them.
const LayoutWriter* FindLayoutWriter(std::string_view name);
// "novatek, pittasoft, nmea", for messages.
std::string LayoutNames();

// The file beside `path` a layout writes to: `path` without its extension, plus `suffix`.
std::string SidePath(const std::string& path, const char* suffix);

// The drive in common units, read back from its VX-880QN records by the viewer's own reader.
TelemetryTrack TrackOf(std::span<const TelemetryRecord> records);

// Whether a VX-880QN record is a GPS fix (an RMC sentence), and that sentence with its '$' and checksum.
bool IsFix(const TelemetryRecord& record);
std::string NmeaSentence(const TelemetryRecord& record);

// Appends `bytes` to the file at `path` (or writes them at `offset`); false with `error` set on failure.
bool WriteAt(const std::string& path, std::optional<std::uint64_t> offset, std::span<const std::uint8_t> bytes,
             std::string& error);

// Big-endian words and MP4 boxes of the layouts.
void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t value);
std::vector<std::uint8_t> Mp4Box(const char* type, std::span<const std::uint8_t> payload);

bool WriteNovatekLayout(const LayoutInput& input, std::string& error);
bool WritePittasoftLayout(const LayoutInput& input, std::string& error);
bool WriteNmeaLayout(const LayoutInput& input, std::string& error);

}  // namespace vx::mkcard
