// Every camera layout this program reads, tried in turn on a recording.
#pragma once

#include <span>

#include "core/telemetry/ByteSource.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx {

struct TelemetryReader {
  const char* layout;
  TelemetryTrack (*read)(const ByteSource& file);  // empty layout when the file does not hold its layout
};

// The readers in the order they are tried: the VX-880QN's own log first.
std::span<const TelemetryReader> TelemetryReaders();

// The track of the first reader that recognises the file; an empty track when none does.
TelemetryTrack ReadTelemetry(const ByteSource& file);

}  // namespace vx
