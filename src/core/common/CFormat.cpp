// Locale-free fixed-point formatting with to_chars.
#include "core/common/CFormat.h"

#include <array>
#include <charconv>

namespace vx {

std::string FormatFixed(double value, int decimals) {
  std::array<char, 400> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, decimals);
  return std::string(buffer.data(), result.ptr);
}

std::string FormatFixedZeroPadded(double value, int decimals, int width) {
  std::string text = FormatFixed(value, decimals);
  const bool negative = !text.empty() && text.front() == '-';
  const auto digits = static_cast<int>(text.size());
  if (digits < width) text.insert(negative ? 1 : 0, static_cast<std::size_t>(width - digits), '0');
  return text;
}

}  // namespace vx
