// Command-line reading shared by the tools, so both answer --help, --version, "--" and faults alike.
#include "CommandLine.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vx::tools {

std::optional<int> ParseCommandLine(int argc, char** argv, const ToolInfo& tool, std::span<const ToolOption> options,
                                    const OptionHandler& take, std::vector<std::string>& operands) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help") {
      std::fputs(tool.usage, stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("%s %s\n", tool.name, VX_VERSION);
      return 0;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const auto option = std::find_if(options.begin(), options.end(), [&](const ToolOption& o) { return name == o.name; });
    if (option == options.end()) return UsageError(tool, "unknown option " + name);
    std::string value;
    if (equals != std::string::npos) {
      if (!option->takesValue) return UsageError(tool, name + " takes no value");
      value = arg.substr(equals + 1);
    } else if (option->takesValue) {
      if (i + 1 >= argc) return UsageError(tool, name + " needs a value");
      value = argv[++i];
    }
    std::string error;
    if (!take(name, value, error)) return UsageError(tool, name + (value.empty() ? "" : " " + value) + ": " + error);
  }
  return std::nullopt;
}

int UsageError(const ToolInfo& tool, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n%s", tool.name, message.c_str(), tool.usage);
  return 2;
}

bool OutputWritten(const ToolInfo& tool) {
  const bool flushed = std::fflush(stdout) == 0;
  const int error = errno;
  if (flushed && !std::ferror(stdout)) return true;
  std::fprintf(stderr, "%s: the output could not be written: %s\n", tool.name,
               flushed ? "write error" : std::strerror(error));
  return false;
}

}  // namespace vx::tools
