// Number formatting that prints a '.' whatever locale the process runs in.
#pragma once

#include <string>

namespace vx {

// Like printf("%.*f", decimals, value) in the C locale.
std::string FormatFixed(double value, int decimals);
// Like printf("%0*.*f", width, decimals, value) in the C locale.
std::string FormatFixedZeroPadded(double value, int decimals, int width);

}  // namespace vx
