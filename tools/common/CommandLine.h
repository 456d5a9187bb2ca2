// The command line of a tool: its options with or without a value, operands, "--", --help and --version.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vx::tools {

struct ToolInfo {
  const char* name;   // "vx880-mkcard"
  const char* usage;  // the whole usage text, ending in a newline
};

struct ToolOption {
  const char* name;  // "--seconds"
  bool takesValue;
};

// Takes one option of the table with its value ("" for one without); false with `error` set when the
// value is not one the option accepts.
using OptionHandler = std::function<bool(const std::string& name, const std::string& value, std::string& error)>;

// Reads argv: options go to `take` ("--name VALUE" or "--name=VALUE"), everything else and everything
// after "--" into `operands`. Answers the exit status when the tool ends here: 0 after --help (usage on
// stdout) or --version; 2 after an unknown option, a missing or refused value (usage on stderr).
std::optional<int> ParseCommandLine(int argc, char** argv, const ToolInfo& tool, std::span<const ToolOption> options,
                                    const OptionHandler& take, std::vector<std::string>& operands);

// The usage on stderr after "NAME: message", status 2: for faults found once the whole line was read.
int UsageError(const ToolInfo& tool, const std::string& message);

// Flushes stdout and answers false, with a line on stderr, when what the tool printed did not all arrive
// (a full disk, a closed pipe).
bool OutputWritten(const ToolInfo& tool);

}  // namespace vx::tools
