// The EXIF block of a snapshot: when and where its frame was taken, as cameras state it.
#pragma once

#include <cstdint>
#include <vector>

#include "core/snapshot/FrameMoment.h"

namespace vx {

// The payload of a JPEG APP1 segment: "Exif\0\0" and a big-endian TIFF structure whose first directory
// points to an Exif directory (local date and time of the moment with its zone offset and milliseconds) and
// to a GPS directory (the fix: position, altitude when known, UTC time and date, speed in km/h, true
// heading). A part that is unknown or out of range is left out; empty when nothing at all is known.
std::vector<std::uint8_t> ExifPayloadOf(const FrameMoment& moment);

}  // namespace vx
