// Number reading as the C library's atoi/atof do it, but independent of the process locale.
#pragma once

#include <cstdint>
#include <string_view>

namespace vx {

// Leading blanks and a sign, then the longest decimal number; anything else ends it; no number gives 0.
std::int32_t ParseCInt(std::string_view text);
double ParseCDouble(std::string_view text);

}  // namespace vx
