// Every camera layout this program reads, tried in turn on a recording.
#pragma once

#include <span>
#include <string>

#include "core/telemetry/ByteSource.h"
#include "core/telemetry/ITelemetrySource.h"
#include "core/telemetry/TelemetryTrack.h"
#include "core/telemetry/layouts/SideFiles.h"

namespace vx {

struct TelemetryReader {
  const char* layout;
  // An empty layout when neither the file nor the files beside it hold this layout.
  TelemetryTrack (*read)(const ByteSource& file, const SideFiles& side);
};

// The readers in the order they are tried: the VX-880QN's own log first.
std::span<const TelemetryReader> TelemetryReaders();

// The track of the first reader that recognises the file; an empty track when none does.
TelemetryTrack ReadTelemetry(const ByteSource& file, const SideFiles& side);

// The track of the recording file at `path` and the files beside it; an empty track whose warning says why
// when the file cannot be opened. A VX-880QN log that the camera source has already read (`openedLog`)
// stands for the file's own log, so the file is read again only for another camera's layout.
TelemetryTrack ReadRecordingTelemetry(const std::string& path, ITelemetrySource* openedLog = nullptr);

}  // namespace vx
