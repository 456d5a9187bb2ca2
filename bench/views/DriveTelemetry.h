// Telemetry of a simulated drive, parsed into the arrays the map and the graph read.
#pragma once

#include "DriveSimulator.h"
#include "core/telemetry/CTextData.h"

namespace vx::test {

// Fills `textData` with the records of the drive, as the main window does after opening a recording.
void ParseDrive(const mkcard::DriveScript& script, CTextData& textData);

}  // namespace vx::test
