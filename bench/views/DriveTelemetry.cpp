// Parsing a simulated drive's records.
#include "DriveTelemetry.h"

#include <algorithm>

#include "core/telemetry/RecordParser.h"

namespace vx::test {

void ParseDrive(const mkcard::DriveScript& script, CTextData& textData) {
  textData.Clear();
  for (const TelemetryRecord& record : mkcard::SimulateDrive(script).records) {
    RecordBuffer buffer{};
    std::copy_n(record.bytes.begin(), std::min(record.bytes.size(), buffer.size() - 1), buffer.begin());
    ParseRecord(record.timeMs, buffer, textData);
  }
}

}  // namespace vx::test
