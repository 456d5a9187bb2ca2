// The telemetry log stored in a recording: its payload format and where it lies in MP4 and AVI files.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/telemetry/ByteSource.h"

namespace vx {

inline constexpr std::uint16_t kTelemetryLogVersion = 1;
inline constexpr std::size_t kMaxRecordLength = 1024;
// A log larger than this is read only up to this size: no camera writes anywhere near it.
inline constexpr std::uint64_t kMaxTelemetryPayload = 64ull << 20;

struct TelemetryEntry {
  std::uint32_t timeMs = 0;
  std::uint32_t offset = 0;  // of the record inside the payload
  std::uint16_t length = 0;  // 1 .. 1024
};

class TelemetryLog {
 public:
  TelemetryLog() = default;
  // Parses a payload; a damaged entry ends the log there and the entries before it stay.
  explicit TelemetryLog(std::vector<std::uint8_t> payload);

  const std::vector<TelemetryEntry>& Entries() const { return m_entries; }
  std::span<const std::uint8_t> Record(const TelemetryEntry& entry) const {
    return std::span(m_payload).subspan(entry.offset, entry.length);
  }
  // Why reading stopped early ("" when the payload was whole).
  const std::string& Warning() const { return m_strWarning; }

 private:
  std::vector<std::uint8_t> m_payload;
  std::vector<TelemetryEntry> m_entries;
  std::string m_strWarning;
};

enum class ContainerKind { Unknown, Mp4, Avi };

struct TelemetryLogResult {
  bool ok = false;            // false: the bytes are no recording we can read
  std::string error;          // why, when !ok
  ContainerKind container = ContainerKind::Unknown;
  bool found = false;         // the file carries a log
  TelemetryLog log;
};

// Finds the first log of an MP4 or AVI recording and parses it; never trusts a size.
TelemetryLogResult ReadTelemetryLog(const ByteSource& source);
TelemetryLogResult ReadTelemetryLogFile(const std::string& path);

// One record to be written, as the camera hands it out.
struct TelemetryRecord {
  std::uint32_t timeMs = 0;
  std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> EncodeTelemetryPayload(std::span<const TelemetryRecord> records);
// The payload wrapped as a top-level MP4 box and as a top-level RIFF chunk (pad byte included).
std::vector<std::uint8_t> WrapMp4Box(std::span<const std::uint8_t> payload);
std::vector<std::uint8_t> WrapAviChunk(std::span<const std::uint8_t> payload);

}  // namespace vx
