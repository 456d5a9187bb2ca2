// Fuzzes the script call parser and the JavaScript made from it: arguments never hold a separator, and the
// script's string literals, read back as a JavaScript engine reads them, are exactly the name and arguments.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/views/ScriptCall.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Reads the double-quoted literal that starts at script[at] and returns its value, leaving `at` after its
// closing quote. A raw line break or control byte would end the literal in error and fails the check; the
// script is run as it is, never written into a page, so "</script>" ends nothing. Only the escapes a literal
// needs here are read.
std::string ReadLiteral(std::string_view script, std::size_t& at) {
  Check(script[at++] == '"');
  std::string value;
  while (at < script.size() && script[at] != '"') {
    char c = script[at++];
    Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
    if (c == '\\') {
      Check(at < script.size());
      c = script[at++];
      if (c == 'u') {
        unsigned code = 0;
        const char* digits = script.data() + at;
        Check(at + 4 <= script.size() && std::from_chars(digits, digits + 4, code, 16).ptr == digits + 4);
        Check(code < 0x80);  // the literal escapes single bytes only; other bytes stand as they are
        c = static_cast<char>(code);
        at += 4;
      } else {
        Check(c == '"' || c == '\\');
      }
    }
    value += c;
  }
  Check(at++ < script.size());  // the literal ended
  return value;
}

// The script's double-quoted literals in order, and its text with each literal emptied to "".
std::pair<std::vector<std::string>, std::string> SplitLiterals(std::string_view script) {
  std::vector<std::string> literals;
  std::string frame;
  for (std::size_t at = 0; at < script.size();) {
    if (script[at] == '"') {
      literals.push_back(ReadLiteral(script, at));
      frame += "\"\"";
    } else {
      frame += script[at++];
    }
  }
  return {literals, frame};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vx::ScriptCall call = vx::ParseScriptCall(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const std::string& argument : call.arguments) {
    Check(!argument.empty() && argument.find_first_of(" ,'\"\t();") == std::string::npos);
  }
  // The literals hold the name and the arguments, and around them stands the same fixed frame as for a call
  // of empty texts: no input byte reached the code outside a literal.
  const auto [literals, frame] = SplitLiterals(vx::ScriptCallJavaScript(call));
  std::vector<std::string> expected{call.function};
  expected.insert(expected.end(), call.arguments.begin(), call.arguments.end());
  Check(literals == expected);
  const vx::ScriptCall empty{"", std::vector<std::string>(call.arguments.size())};
  Check(frame == vx::ScriptCallJavaScript(empty));
  return 0;
}
