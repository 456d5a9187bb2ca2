// Turns NMEA text (RMC for position, speed, heading and date; GGA for altitude) into GPS fixes.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/telemetry/TelemetryTrack.h"

namespace vx {

// Collects fixes from sentences fed one line at a time. Media times are set by the caller's rule: from a
// stamp given with the line, else from the fix's UTC time after the first fix.
class NmeaFixCollector {
 public:
  // One line of text, without its line end. `stampMs` is a camera's own stamp written before the sentence.
  void AddLine(std::string_view line, std::optional<std::int64_t> stampMs = std::nullopt);

  std::vector<GpsSample> TakeFixes() { return std::move(m_fixes); }

 private:
  struct PendingAltitude {
    std::string timeOfDay;
    double metres = 0.0;
  };
  void AddRmc(std::string_view sentence, std::optional<std::int64_t> stampMs);
  void AddGga(std::string_view sentence);
  std::optional<std::uint32_t> MediaTime(std::int64_t utcMs, std::optional<std::int64_t> stampMs);

  std::vector<GpsSample> m_fixes;
  std::string m_lastFixTimeOfDay;  // RMC time field of the last fix, to pair a GGA of the same second
  std::optional<PendingAltitude> m_pendingAltitude;
  std::optional<std::int64_t> m_firstUtcMs;
  std::optional<std::int64_t> m_firstStampMs;
};

// Hands each line of a text part (LF or CRLF ends, zero padding at the end ignored) to `visit`; stops at the
// first line that is not printable text and returns its offset, as damage.
std::optional<std::size_t> ForEachTextLine(std::span<const std::uint8_t> bytes,
                                           const std::function<void(std::string_view)>& visit);

// The sentence without "$", talker checks and "*hh": empty when the checksum is stated and wrong.
std::string_view CheckedSentence(std::string_view line);

}  // namespace vx
