// Fuzzes the script call parser and the JavaScript made from it: arguments never hold a separator, and no text
// gets out of the string literals it is written into.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/views/ScriptCall.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vx::ScriptCall call = vx::ParseScriptCall(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const std::string& argument : call.arguments) {
    if (argument.empty() || argument.find_first_of(" ,'\"\t();") != std::string::npos) std::abort();
  }
  // Outside its literals the script holds only the fixed frame: no quote or line break of the input is raw.
  for (const std::string& text : call.arguments) {
    const std::string literal = vx::JavaScriptString(text);
    for (std::size_t i = 1; i + 1 < literal.size(); ++i) {
      const auto c = static_cast<unsigned char>(literal[i]);
      if (c < 0x20 || (c == '"' && literal[i - 1] != '\\')) std::abort();
    }
  }
  (void)vx::ScriptCallJavaScript(call);
  return 0;
}
