// The table of layout readers and the lookup that tries them in order.
#include "core/telemetry/TelemetryLayouts.h"

#include "core/telemetry/layouts/Vx880Telemetry.h"

namespace vx {
namespace {

// One line per layout; the first reader that recognises a file wins, so the more specific come first.
constexpr TelemetryReader kReaders[] = {
    {kVx880LogLayout, ReadVx880Telemetry},
};

}  // namespace

std::span<const TelemetryReader> TelemetryReaders() { return kReaders; }

TelemetryTrack ReadTelemetry(const ByteSource& file) {
  for (const TelemetryReader& reader : kReaders) {
    TelemetryTrack track = reader.read(file);
    if (!track.layout.empty()) return track;
  }
  return {};
}

}  // namespace vx
