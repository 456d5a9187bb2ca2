// vx880-telemetry: prints the telemetry of recordings as CSV rows, a GPX track or one summary line each.
#include <cstdio>
#include <cstring>
#include <string>

#include "TelemetryExport.h"
#include "core/telemetry/FileTelemetrySource.h"

namespace {

using namespace vx;

enum class Format { Csv, Gpx, Summary };

// Loads a recording's telemetry; false (with a line on stderr) when the file cannot be read.
bool Load(const char* path, std::vector<telemetry::ParsedRecord>& records) {
  TelemetryLogResult result = ReadTelemetryLogFile(path);
  if (!result.ok) {
    std::fprintf(stderr, "vx880-telemetry: %s: %s\n", path, result.error.c_str());
    return false;
  }
  if (!result.found) std::fprintf(stderr, "vx880-telemetry: %s: no telemetry log\n", path);
  if (!result.log.Warning().empty()) {
    std::fprintf(stderr, "vx880-telemetry: %s: %s; the records before it are kept\n", path,
                 result.log.Warning().c_str());
  }
  FileTelemetrySource source;
  source.Assign(std::move(result.log));
  records = telemetry::ReadAllRecords(source);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Format format = Format::Csv;
  int first = 1;
  for (; first < argc && argv[first][0] == '-'; ++first) {
    if (!std::strcmp(argv[first], "--gpx")) format = Format::Gpx;
    else if (!std::strcmp(argv[first], "--summary")) format = Format::Summary;
    else break;
  }
  if (first >= argc) {
    std::fputs("usage: vx880-telemetry [--gpx | --summary] FILE...\n", stderr);
    return 2;
  }
  std::unique_ptr<telemetry::GpxWriter> gpx;
  if (format == Format::Gpx) gpx = std::make_unique<telemetry::GpxWriter>(stdout);
  int status = 0;
  for (int i = first; i < argc; ++i) {
    std::vector<telemetry::ParsedRecord> records;
    if (!Load(argv[i], records)) {
      status = 1;
      continue;
    }
    if (gpx) gpx->Track(argv[i], records);
    else if (format == Format::Summary) std::puts(telemetry::Summary(argv[i], records).c_str());
    else for (const auto& r : records) std::puts(telemetry::CsvRow(r).c_str());
  }
  return status;
}
