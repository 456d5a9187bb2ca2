// Tests of the script call text: which function it names, which string arguments it passes, and the
// JavaScript that performs it.
#include "core/views/ScriptCall.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

using Args = std::vector<std::string>;

TEST(ScriptCall, ParsesTheCallTextsOfTheMap) {
  ScriptCall call = ParseScriptCall("javascript:DrawCurrent('127.123456', '37.123456')");
  EXPECT_EQ(call.function, "DrawCurrent");
  EXPECT_EQ(call.arguments, (Args{"127.123456", "37.123456"}));

  call = ParseScriptCall("  DrawCurrent ( 1 , 2 );  ");
  EXPECT_EQ(call.function, "DrawCurrent") << "prefix optional, name trimmed";
  EXPECT_EQ(call.arguments, (Args{"1", "2"}));

  call = ParseScriptCall("javascript:DrawCurrent()");
  EXPECT_EQ(call.function, "DrawCurrent");
  EXPECT_TRUE(call.arguments.empty());
}

TEST(ScriptCall, SeparatorsSplitEvenInsideQuotes) {
  EXPECT_EQ(ParseScriptCall("javascript:DrawCurrent('a b')").arguments, (Args{"a", "b"}));
  EXPECT_EQ(ParseScriptCall("f('',,\t\"\" ;x;)").arguments, (Args{"x"})) << "empty quotes and doubled commas";
  // Only the first prefix is cut and only the first parenthesis opens the arguments.
  const ScriptCall call = ParseScriptCall("xx javascript:g(h(1), javascript:2)");
  EXPECT_EQ(call.function, "g");
  EXPECT_EQ(call.arguments, (Args{"h", "1", "javascript:2"}));
  EXPECT_EQ(ParseScriptCall("JavaScript:f(1)").function, "JavaScript:f") << "the prefix is case-sensitive";
}

TEST(ScriptCall, NoParenthesisOrEmptyTextNamesNoFunction) {
  EXPECT_EQ(ParseScriptCall("javascript:DrawCurrent").function, "");
  EXPECT_EQ(ParseScriptCall("").function, "");
  EXPECT_EQ(ParseScriptCall("(1)").function, "");
}

TEST(ScriptCall, JavaScriptPassesNameAndArgumentsAsLiterals) {
  EXPECT_EQ(ScriptCallJavaScript({"DrawCurrent", {"127.000000", "37.508333"}}),
            "(function(){var f=window[\"DrawCurrent\"];if(typeof f!=='function')return '';"
            "var r=f(\"127.000000\",\"37.508333\");return typeof r==='string'?r:'';})()");
  // Nothing in a name or an argument can end its literal.
  EXPECT_EQ(JavaScriptString("a\\\"b\n\x01"), "\"a\\\\\\\"b\\u000a\\u0001\"");
  EXPECT_EQ(JavaScriptString("지도"), "\"지도\"");
}

}  // namespace
}  // namespace vx
