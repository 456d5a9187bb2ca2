// Parsing of a script call text and the JavaScript that performs it.
#include "core/views/ScriptCall.h"

#include <cstdio>

namespace vx {
namespace {

constexpr std::string_view kPrefix = "javascript:";
constexpr std::string_view kSeparators = " ,'\"\t();";
constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(kWhiteSpace);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kWhiteSpace);
  return text.substr(first, last - first + 1);
}

std::vector<std::string> Tokens(std::string_view text) {
  std::vector<std::string> tokens;
  std::size_t pos = text.find_first_not_of(kSeparators);
  while (pos != std::string_view::npos) {
    const std::size_t end = text.find_first_of(kSeparators, pos);
    tokens.emplace_back(text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
    pos = end == std::string_view::npos ? end : text.find_first_not_of(kSeparators, end);
  }
  return tokens;
}

}  // namespace

ScriptCall ParseScriptCall(std::string_view text) {
  ScriptCall call;
  if (text.empty()) return call;
  if (const auto prefix = text.find(kPrefix); prefix != std::string_view::npos) {
    text.remove_prefix(prefix + kPrefix.size());
  }
  const auto open = text.find('(');
  if (open == std::string_view::npos) {
    call.arguments = Tokens(text);
    return call;
  }
  call.function = std::string(Trimmed(text.substr(0, open)));
  call.arguments = Tokens(text.substr(open + 1));
  return call;
}

std::string JavaScriptString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

std::string ScriptCallJavaScript(const ScriptCall& call) {
  std::string args;
  for (const std::string& argument : call.arguments) {
    if (!args.empty()) args += ',';
    args += JavaScriptString(argument);
  }
  return "(function(){var f=window[" + JavaScriptString(call.function) +
         "];if(typeof f!=='function')return '';var r=f(" + args + ");return typeof r==='string'?r:'';})()";
}

}  // namespace vx
