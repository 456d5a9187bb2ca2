// A page script call written as text ("javascript:DrawCurrent('127.000000', '37.508333')"): its parsing and
// the JavaScript that performs it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx {

struct ScriptCall {
  std::string function;                // empty: the text names no function and nothing is called
  std::vector<std::string> arguments;  // in text order
};

// The text after the first "javascript:" (or the whole text) is split at the first "(": the function name
// is what stands before it, trimmed; the arguments are the runs between the separators
// space , ' " tab ( ) ; after it. Arguments therefore never hold a separator, and empty ones do not occur.
ScriptCall ParseScriptCall(std::string_view text);

// JavaScript that calls the named global function with the arguments as strings and evaluates to its result
// when that is a string, else to "". Names and arguments are written as string literals, so no text can
// escape them.
std::string ScriptCallJavaScript(const ScriptCall& call);

// `text` as a JavaScript string literal in double quotes.
std::string JavaScriptString(std::string_view text);

}  // namespace vx
