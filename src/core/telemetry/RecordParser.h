// Parsing of one telemetry record ('M' G-sensor or 'G' NMEA RMC text) into the telemetry arrays.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/telemetry/CTextData.h"

namespace vx {

inline constexpr std::size_t kRecordBufferSize = 1024;
using RecordBuffer = std::array<std::uint8_t, kRecordBufferSize>;

// Appends the record in `buffer` to the matching array of `textData`; other first bytes are ignored.
void ParseRecord(std::uint32_t time, const RecordBuffer& buffer, CTextData& textData);

// Fills `sample` from RMC text; true when the leading field and all nine RMC fields were present.
bool ParseGps(CGPSData& sample, std::uint32_t time, std::string_view text);

// Whether RMC text states a whole fix: every field up to the date present, a time of six digits, both
// coordinates as digits and their hemisphere letters (N or S, E or W). ParseGps reads what is missing as 0,
// which would place a fix at midnight, on the equator or in the southern and western hemispheres.
bool StatesWholeFix(std::string_view text);

// ddmm.mmmm (or dddmm.mmmm) to decimal degrees, keeping the sign.
double ToDecimalDegrees(double value);

}  // namespace vx
