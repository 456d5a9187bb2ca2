// vx880-telemetry: prints the telemetry of recordings as CSV rows, a GPX track or one summary line each, or a
// card's trips and events.
#include <cstdio>
#include <memory>
#include <string>
#include <variant>

#include "CardReport.h"
#include "CommandLine.h"
#include "core/cardindex/CardRecordings.h"
#include "core/cardindex/RecordingSummaries.h"
#include "core/cardindex/ViewerPreferences.h"
#include "core/telemetry/TelemetryExport.h"
#include "core/telemetry/FileTelemetrySource.h"
#include "core/telemetry/TelemetryLayouts.h"

namespace {

using namespace vx;

// The usage, ending in the layouts the tool recognises, in the order they are tried.
std::string Usage() {
  std::string usage =
      "usage: vx880-telemetry [--gpx | --summary] [--] FILE...\n"
      "       vx880-telemetry --trips [--gap SECONDS] | --events [--] DIR...\n"
      "Prints the telemetry of recordings: every record as a CSV row (the default), a GPX 1.1 track of the\n"
      "complete valid fixes (--gpx), or one summary line per file (--summary, with the start the name gives\n"
      "in UTC and the zone it was read in). VX-880QN recordings are printed as their log stores them;\n"
      "other layouts as A (acceleration in g) and F (fix) rows.\n"
      "--trips prints a CSV row per trip of the recordings below DIR (start and end UTC, recordings,\n"
      "distance m, max km/h), a recording joining the trip when it starts at most --gap seconds (default 5,\n"
      "0 to 600) after the one before ends; --events a row per hard braking, hard acceleration, sharp turn, impact and\n"
      "camera event (UTC, file, offset ms, kind, peak g, latitude, longitude).\n"
      "Layouts read:";
  for (const TelemetryReader& reader : TelemetryReaders()) usage += std::string(" ") + reader.layout + ",";
  usage.back() = '\n';
  return usage;
}

enum class Format { Csv, Gpx, Summary, Trips, Events };

// The trip rules with the gap of --gap: whole or decimal seconds within the viewer's limits for it.
std::optional<TripRules> GapRules(const std::string& text) {
  for (const PreferenceField& field : PreferenceFields()) {
    if (field.value != &ViewerPreferences::tripGapSeconds) continue;
    ViewerPreferences preferences;
    const std::optional<double> seconds = ParsePreference(field, text);
    if (!seconds) return std::nullopt;
    preferences.tripGapSeconds = *seconds;
    return preferences.Trips();
  }
  return std::nullopt;
}

// A recording's telemetry: the VX-880QN log as stored, or a track of another layout (maybe none).
using Telemetry = std::variant<std::vector<telemetry::ParsedRecord>, TelemetryTrack>;

// Reads a recording's telemetry; nothing (with a line on stderr) when the file cannot be opened. A recording
// without the VX-880QN log is read by the other layouts; when none recognises it, an AVI or MP4 recording
// reads as one without a log, and any other file as a track with no layout (with its error on stderr).
std::optional<Telemetry> Load(const std::string& path) {
  std::string error;
  const auto file = FileByteSource::Open(path, error);
  if (!file) {
    std::fprintf(stderr, "vx880-telemetry: %s: %s\n", path.c_str(), error.c_str());
    return std::nullopt;
  }
  TelemetryLogResult result = ReadTelemetryLog(*file);
  if (!result.found) {
    TelemetryTrack track = ReadTelemetry(*file, SideFilesOf(path));
    if (!track.warning.empty()) std::fprintf(stderr, "vx880-telemetry: %s: %s\n", path.c_str(), track.warning.c_str());
    if (!track.layout.empty()) return track;
    if (!result.ok) {
      std::fprintf(stderr, "vx880-telemetry: %s: %s\n", path.c_str(), result.error.c_str());
      return track;
    }
    std::fprintf(stderr, "vx880-telemetry: %s: no telemetry log\n", path.c_str());
  }
  if (!result.log.Warning().empty()) {
    std::fprintf(stderr, "vx880-telemetry: %s: %s; the records before it are kept\n", path.c_str(),
                 result.log.Warning().c_str());
  }
  FileTelemetrySource source;
  source.Assign(std::move(result.log));
  return telemetry::ReadAllRecords(source);
}

bool IsUnreadable(const Telemetry& telemetry) {
  const auto* track = std::get_if<TelemetryTrack>(&telemetry);
  return track && track->layout.empty();
}

void PrintCsv(const Telemetry& telemetry) {
  if (const auto* records = std::get_if<std::vector<telemetry::ParsedRecord>>(&telemetry)) {
    for (const auto& r : *records) std::puts(telemetry::CsvRow(r).c_str());
  } else {
    for (const auto& row : telemetry::TrackCsvRows(std::get<TelemetryTrack>(telemetry))) std::puts(row.c_str());
  }
}

std::string SummaryLine(const std::string& file, const Telemetry& telemetry) {
  const std::string line = std::visit([&](const auto& t) {
    if constexpr (std::is_same_v<std::decay_t<decltype(t)>, TelemetryTrack>) return telemetry::TrackSummary(file, t);
    else return telemetry::Summary(file, t);
  }, telemetry);
  return line + telemetry::StartText(RecordingStartOf(file));
}

// The summaries of every recording below the folders; a recording that cannot be read is named on stderr.
std::vector<RecordingSummary> CardSummaries(const std::vector<std::string>& folders, int& status) {
  std::vector<RecordingSummary> summaries;
  for (const std::string& folder : folders) {
    for (const std::string& path : RecordingsBelow(folder)) {
      summaries.push_back(SummarizeRecording(path));
      if (summaries.back().problem.empty()) continue;
      std::fprintf(stderr, "vx880-telemetry: %s: %s\n", path.c_str(), summaries.back().problem.c_str());
      status = 1;
    }
  }
  return summaries;
}

int PrintCard(Format format, const std::vector<std::string>& folders, const TripRules& trips) {
  int status = 0;
  const std::vector<RecordingSummary> summaries = CardSummaries(folders, status);
  const auto rows =
      format == Format::Trips ? telemetry::TripRows(GroupTrips(summaries, trips)) : telemetry::EventRows(summaries);
  for (const std::string& row : rows) std::puts(row.c_str());
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string usage = Usage();
  const tools::ToolInfo tool{"vx880-telemetry", usage.c_str()};
  constexpr tools::ToolOption kOptions[] = {
      {"--gpx", false}, {"--summary", false}, {"--trips", false}, {"--events", false}, {"--gap", true}};
  std::optional<Format> format;
  std::optional<TripRules> trips;
  std::vector<std::string> files;
  const auto take = [&](const std::string& name, const std::string& value, std::string& error) {
    if (name == "--gap") {
      trips = GapRules(value);
      if (!trips) error = "not seconds from 0 to 600";
      return error.empty();
    }
    const Format chosen = name == "--gpx"     ? Format::Gpx
                          : name == "--trips" ? Format::Trips
                          : name == "--events" ? Format::Events
                                              : Format::Summary;
    if (format && *format != chosen) error = "only one of --gpx, --summary, --trips and --events";
    format = chosen;
    return error.empty();
  };
  if (const auto status = tools::ParseCommandLine(argc, argv, tool, kOptions, take, files)) return *status;
  const bool card = format == Format::Trips || format == Format::Events;
  if (trips && format != Format::Trips) return tools::UsageError(tool, "--gap goes with --trips");
  if (files.empty()) return tools::UsageError(tool, card ? "no folder named" : "no recording named");
  if (card) return PrintCard(*format, files, trips.value_or(TripRules{})) == 0 && tools::OutputWritten(tool) ? 0 : 1;
  std::unique_ptr<telemetry::GpxWriter> gpx;
  if (format == Format::Gpx) gpx = std::make_unique<telemetry::GpxWriter>(stdout);
  int status = 0;
  for (const std::string& file : files) {
    const std::optional<Telemetry> telemetry = Load(file);
    if (!telemetry || IsUnreadable(*telemetry)) {
      status = 1;
      if (telemetry && format == Format::Summary) std::puts(SummaryLine(file, *telemetry).c_str());
      continue;
    }
    if (gpx) std::visit([&](const auto& t) { gpx->Track(file, t); }, *telemetry);
    else if (format == Format::Summary) std::puts(SummaryLine(file, *telemetry).c_str());
    else PrintCsv(*telemetry);
  }
  gpx.reset();  // closes the document
  return tools::OutputWritten(tool) ? status : 1;
}
