// Locale-free leading-number parsing with from_chars.
#include "core/telemetry/CNumber.h"

#include <cctype>
#include <charconv>

namespace vx {
namespace {

// Skips leading white space and a '+' that from_chars would refuse.
std::string_view NumberStart(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return {};  // "+-1" is no number
  }
  return text;
}

}  // namespace

std::int32_t ParseCInt(std::string_view text) {
  text = NumberStart(text);
  std::int32_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc{} ? value : 0;
}

double ParseCDouble(std::string_view text) {
  text = NumberStart(text);
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc{} ? value : 0.0;
}

}  // namespace vx
