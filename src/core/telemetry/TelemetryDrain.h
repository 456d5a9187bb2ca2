// Reads every record of a telemetry source into the telemetry arrays.
#pragma once

#include "core/telemetry/CTextData.h"
#include "core/telemetry/ITelemetrySource.h"

namespace vx {

// Empties `textData`, then parses records until the source answers anything but S_OK.
// Returns that last answer (kNoMoreRecords after a complete read). A null source leaves the arrays empty.
HRESULT DrainTelemetry(ITelemetrySource* source, CTextData& textData);

}  // namespace vx
