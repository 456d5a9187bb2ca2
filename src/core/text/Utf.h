// Conversions between UTF-8 and UTF-16 for the user-interface texts.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// Invalid UTF-8 sequences become U+FFFD each; never throws.
std::u16string Utf8ToUtf16(std::string_view text);

// Unpaired surrogates become U+FFFD each; never throws.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace vx
