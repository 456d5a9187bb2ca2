// An NMEA log beside the recording: the drive's RMC sentences, one line a fix, as GPS loggers write them.
#include "LayoutWriters.h"

namespace vx::mkcard {

bool WriteNmeaLayout(const LayoutInput& input, std::string& error) {
  std::string text;
  for (const TelemetryRecord& record : input.records) {
    if (IsFix(record)) text += NmeaSentence(record) + "\r\n";
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  return WriteAt(SidePath(input.path, ".NMEA"), std::nullopt, {bytes, text.size()}, error);
}

}  // namespace vx::mkcard
