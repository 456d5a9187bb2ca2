// vx880-telemetry: prints the telemetry of recordings as CSV rows, a GPX track or one summary line each.
#include <cstdio>
#include <memory>
#include <string>

#include "CommandLine.h"
#include "TelemetryExport.h"
#include "core/telemetry/FileTelemetrySource.h"

namespace {

using namespace vx;

const tools::ToolInfo kTool{
    "vx880-telemetry",
    "usage: vx880-telemetry [--gpx | --summary] [--] FILE...\n"
    "Prints the telemetry of AVI and MP4 recordings: every record as a CSV row (the default), a GPX 1.1\n"
    "track of the complete valid fixes (--gpx), or one summary line per file (--summary).\n"};

enum class Format { Csv, Gpx, Summary };

// Loads a recording's telemetry; false (with a line on stderr) when the file cannot be read.
bool Load(const std::string& path, std::vector<telemetry::ParsedRecord>& records) {
  TelemetryLogResult result = ReadTelemetryLogFile(path);
  if (!result.ok) {
    std::fprintf(stderr, "vx880-telemetry: %s: %s\n", path.c_str(), result.error.c_str());
    return false;
  }
  if (!result.found) std::fprintf(stderr, "vx880-telemetry: %s: no telemetry log\n", path.c_str());
  if (!result.log.Warning().empty()) {
    std::fprintf(stderr, "vx880-telemetry: %s: %s; the records before it are kept\n", path.c_str(),
                 result.log.Warning().c_str());
  }
  FileTelemetrySource source;
  source.Assign(std::move(result.log));
  records = telemetry::ReadAllRecords(source);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  constexpr tools::ToolOption kOptions[] = {{"--gpx", false}, {"--summary", false}};
  std::optional<Format> format;
  std::vector<std::string> files;
  const auto take = [&](const std::string& name, const std::string&, std::string& error) {
    const Format chosen = name == "--gpx" ? Format::Gpx : Format::Summary;
    if (format && *format != chosen) error = "only one of --gpx and --summary";
    format = chosen;
    return error.empty();
  };
  if (const auto status = tools::ParseCommandLine(argc, argv, kTool, kOptions, take, files)) return *status;
  if (files.empty()) return tools::UsageError(kTool, "no recording named");
  std::unique_ptr<telemetry::GpxWriter> gpx;
  if (format == Format::Gpx) gpx = std::make_unique<telemetry::GpxWriter>(stdout);
  int status = 0;
  for (const std::string& file : files) {
    std::vector<telemetry::ParsedRecord> records;
    if (!Load(file, records)) {
      status = 1;
      continue;
    }
    if (gpx) gpx->Track(file, records);
    else if (format == Format::Summary) std::puts(telemetry::Summary(file, records).c_str());
    else for (const auto& r : records) std::puts(telemetry::CsvRow(r).c_str());
  }
  gpx.reset();  // closes the document
  return tools::OutputWritten(kTool) ? status : 1;
}
