// What the card maker writes is what the export prints, as CSV and as GPX; unreadable files are named;
// every GPX the tests make is checked against the GPX 1.1 schema by an XML parser.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "DriveSimulator.h"
#include "core/telemetry/TelemetryExport.h"
#include "ToolRunner.h"
#include "core/telemetry/RecordParser.h"
#include "core/telemetry/TelemetryLog.h"

namespace vx::test {
namespace {

// The rows the export must print for the drive the card maker simulates with --seconds 5 --seed 3
// --gps-loss 2.
std::vector<std::string> ExpectedRows() {
  const mkcard::DriveScript script{
      .start = {2026, 12, 6, 8, 15, 0}, .seconds = 5, .seed = 3, .signalLossFrom = 2, .signalLossSeconds = 2};
  std::vector<std::string> rows;
  for (const TelemetryRecord& record : mkcard::SimulateDrive(script).records) {
    RecordBuffer buffer{};
    std::copy(record.bytes.begin(), record.bytes.end(), buffer.begin());
    CTextData data;
    ParseRecord(record.timeMs, buffer, data);
    telemetry::ParsedRecord parsed;
    parsed.isGps = data.m_arrGps.GetSize() == 1;
    if (parsed.isGps) parsed.gps = data.m_arrGps[0]; else parsed.gsensor = data.m_arrGSensor[0];
    rows.push_back(telemetry::CsvRow(parsed));
  }
  return rows;
}

std::size_t TrackPoints(const std::string& gpx) {
  std::size_t points = 0;
  for (std::size_t at = 0; (at = gpx.find("<trkpt ", at)) != std::string::npos; ++at) ++points;
  return points;
}

// Runs the export with --gpx; what it prints must be a valid GPX 1.1 document (xmllint, the schema
// beside these tests, nothing fetched).
ToolOutput RunGpx(const TempDir& dir, const std::string& arguments) {
  const ToolOutput gpx = RunTool(Tool("vx880-telemetry") + " --gpx " + arguments);
  const std::string file = dir / "out.gpx";
  std::ofstream(file, std::ios::binary) << gpx.out;
  const ToolOutput check = RunTool("xmllint --noout --nonet --schema " + Quote(VX_GPX_SCHEMA) + " " + file + " 2>&1");
  EXPECT_EQ(check.status, 0) << check.out;
  return gpx;
}

// A file that holds nothing but a telemetry log of these records (one a second), which the export reads
// as an MP4 recording.
void WriteLogOnly(const std::string& path, std::initializer_list<const char*> records) {
  std::vector<TelemetryRecord> list;
  for (const std::string_view r : records) {
    std::vector<std::uint8_t> bytes(r.begin(), r.end());
    bytes.push_back(0);
    list.push_back({static_cast<std::uint32_t>(list.size() * 1000), bytes});
  }
  const auto box = WrapMp4Box(EncodeTelemetryPayload(list));
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(box.data()), static_cast<std::streamsize>(box.size()));
}

class ExportedRecordings : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = std::make_unique<TempDir>("export");
    for (const char* name : {"drive.MP4", "drive.AVI"}) {
      const std::string options = " --seconds 5 --seed 3 --gps-loss 2";
      ASSERT_EQ(RunTool(Tool("vx880-mkcard") + " --file " + (*s_dir / name) + options).status, 0);
    }
  }
  static void TearDownTestSuite() { s_dir.reset(); }
  static std::unique_ptr<TempDir> s_dir;
};
std::unique_ptr<TempDir> ExportedRecordings::s_dir;

TEST_F(ExportedRecordings, CsvIsExactlyWhatWasWrittenInFileOrder) {
  const auto expected = ExpectedRows();
  ASSERT_EQ(expected.size(), 55u);
  EXPECT_TRUE(expected[0].starts_with("G,0,1,3734.2321")) << expected[0];
  EXPECT_TRUE(expected[0].ends_with(",26,12,5,32,15,0")) << expected[0];  // hour kept with its +9
  EXPECT_TRUE(expected[22].starts_with("G,2000,0,0.000000,0.000000,")) << expected[22];
  for (const char* name : {"drive.MP4", "drive.AVI"}) {
    const ToolOutput csv = RunTool(Tool("vx880-telemetry") + " " + (*s_dir / name));
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(Lines(csv.out), expected) << name;
  }
}

TEST_F(ExportedRecordings, GpxHoldsTheValidFixesInUtcUnderAWellFormedNameOfAnyFile) {
  const std::string odd = *s_dir / "caf\xE9 & <\x01>.MP4";  // Latin-1, markup and a control character
  std::filesystem::copy_file(*s_dir / "drive.MP4", odd, std::filesystem::copy_options::overwrite_existing);
  const ToolOutput gpx = RunGpx(*s_dir, Quote(odd));
  EXPECT_EQ(gpx.status, 0);
  EXPECT_NE(gpx.out.find("caf\uFFFD &amp; &lt;\uFFFD&gt;.MP4</name>"), std::string::npos) << gpx.out;
  EXPECT_EQ(TrackPoints(gpx.out), 3u);  // five fixes, two lost
  EXPECT_NE(gpx.out.find("<time>2026-12-05T23:15:00Z</time>"), std::string::npos);
  EXPECT_EQ(gpx.out.find("<time>2026-12-05T23:15:02Z</time>"), std::string::npos);
  EXPECT_NE(gpx.out.find("lat=\"37.570535\" lon=\"126.982533\""), std::string::npos);
}

TEST_F(ExportedRecordings, OnlyValidFixesBecomeTrackPointsOrTheSummarysFixes) {
  const std::string path = *s_dir / "odd.MP4";
  WriteLogOnly(path, {"GPRMC,001500.00,A,3734.2321,N,12658.6800,E,22.68,80.00,061226,,,A",
                      "GPRMC,001501.00,A,9500.0000,N,12658.6800,E,1,2,061226",  // 95 degrees north
                      "GPRMC,001502.00,A,3734.2321,S,12658.6800,W,inf,400,061226"});
  const ToolOutput gpx = RunGpx(*s_dir, path);
  EXPECT_EQ(gpx.status, 0);
  EXPECT_EQ(TrackPoints(gpx.out), 2u);
  // The last point keeps its position and time; a speed and course no schema allows are left out.
  EXPECT_NE(gpx.out.find("<trkpt lat=\"-37.570535\" lon=\"-126.978000\"><time>2026-12-06T00:15:02Z</time>"
                         "<extensions><gpxtpx:TrackPointExtension></gpxtpx:TrackPointExtension>"),
            std::string::npos) << gpx.out;
  EXPECT_EQ(Lines(RunTool(Tool("vx880-telemetry") + " " + path).out).size(), 3u);  // the CSV lists them all
  const ToolOutput summary = RunTool(Tool("vx880-telemetry") + " --summary " + path);
  EXPECT_EQ(summary.out, path + ": 3 records (0 G-sensor, 3 GPS), first fix 37.570535,126.978000 at "
                                "2026-12-06T00:15:00Z, last fix -37.570535,-126.978000 at 2026-12-06T00:15:02Z\n");
}

TEST_F(ExportedRecordings, AFullDiskOrAClosedOutputIsAnError) {
  for (const char* format : {"", "--gpx ", "--summary "}) {
    const std::string recording = *s_dir / "drive.MP4";
    const ToolOutput run = RunTool(Tool("vx880-telemetry") + " " + format + recording + " 2>&1 >/dev/full");
    EXPECT_EQ(run.status, 1) << format;
    EXPECT_EQ(run.out, "vx880-telemetry: the output could not be written: No space left on device\n") << format;
  }
}

TEST_F(ExportedRecordings, BothToolsRefuseAFifoOrDeviceWithoutWaiting) {
  const std::string fifo = *s_dir / "fifo.MP4";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Nobody ever opens the other end of the FIFO: a tool that opened it would wait until `timeout` ends it.
  for (const auto& [tool, path] : {std::pair<std::string, std::string>{"vx880-mkcard", fifo},
                                   {"vx880-mkcard", "/dev/null"}, {"vx880-telemetry", fifo},
                                   {"vx880-telemetry", "/dev/zero"}}) {
    const std::string options = tool == "vx880-mkcard" ? " --seconds 1 --file " : " ";
    const ToolOutput run = RunTool("timeout 60 " + Tool(tool.c_str()) + options + path + " 2>&1");
    EXPECT_EQ(run.status, 1) << tool << " " << path;
    EXPECT_NE(run.out.find(tool + ": " + path + ": not a regular file\n"), std::string::npos) << run.out;
  }
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST_F(ExportedRecordings, UnreadableFilesAreNamedAndTheOthersStillExported) {
  const std::string errors = *s_dir / "errors.txt";
  std::ofstream(*s_dir / "notes.txt") << "not a recording";
  const ToolOutput run = RunTool(Tool("vx880-telemetry") + " " + (*s_dir / "drive.MP4") + " /nonexistent.MP4 " +
                                 (*s_dir / "notes.txt") + " " + (*s_dir / "drive.AVI") + " 2>" + errors);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Lines(run.out).size(), 110u);
  EXPECT_EQ(FileBytes(errors), "vx880-telemetry: /nonexistent.MP4: No such file or directory\nvx880-telemetry: " +
                                   *s_dir / "notes.txt" + ": not an AVI or MP4 recording\n");
}

TEST_F(ExportedRecordings, ARecordingOfNoKnownLayoutIsSaidToBeUnreadableWithNoPlaces) {
  const std::string path = *s_dir / "other.TS";
  std::ofstream(path, std::ios::binary) << std::string(188, 'G');  // no layout the tool knows
  const ToolOutput summary = RunTool(Tool("vx880-telemetry") + " --summary " + path + " 2>/dev/null");
  EXPECT_EQ(std::tuple(summary.status, summary.out), std::tuple(1, path + ": telemetry not readable\n"));
  EXPECT_EQ(RunTool(Tool("vx880-telemetry") + " " + path + " 2>/dev/null").out, "");
  EXPECT_EQ(TrackPoints(RunGpx(*s_dir, path + " 2>/dev/null").out), 0u);

  // The same recording with an NMEA log beside it: the tool finds the log by the recording's base name.
  std::ofstream(*s_dir / "other.NMEA") << "$GPRMC,081500.00,A,3733.6000,N,12658.6800,E,20.0,90.0,061226,,,A*5C\r\n"
                                          "$GPRMC,081501.00,A,3733.6100,N,12658.6900,E,21.0,91.0,061226,,,A*5D\r\n";
  EXPECT_EQ(RunTool(Tool("vx880-telemetry") + " --summary " + path).out.find(path + ": NMEA log"), 0u);
  EXPECT_EQ(TrackPoints(RunGpx(*s_dir, path).out), 2u);
}

// A track of another layout: rows in media time order, empty fields for what a fix does not state, and the
// summary's first and last fix taken from the valid ones only.
TEST(TrackExport, RowsAndSummaryOfATrackOfAnyLayout) {
  TelemetryTrack track{.layout = "Some camera", .gps = {}, .accel = {{500, 0.5, -1, 0.25}}, .warning = {}};
  track.gps.push_back({.mediaMs = 0, .utcMs = 1'796'512'500'000, .valid = true, .latitude = 37.5, .longitude = -126.25,
                       .altitudeM = 12.5, .speedKmh = 36, .headingDeg = std::nullopt});
  track.gps.push_back({.mediaMs = 1000, .utcMs = std::nullopt, .valid = false, .latitude = 0, .longitude = 0,
                       .altitudeM = std::nullopt, .speedKmh = 0, .headingDeg = std::nullopt});
  EXPECT_EQ(telemetry::TrackCsvRows(track),
            (std::vector<std::string>{"F,0,1,37.500000,-126.250000,2026-12-05T23:15:00Z,36.0000,,12.5",
                                      "A,500,0.5000,-1.0000,0.2500", "F,1000,0,,,,,,"}));
  EXPECT_EQ(telemetry::TrackSummary("f", track), "f: Some camera, 1 accelerometer samples, 2 GPS fixes, first fix "
                                                 "37.500000,-126.250000 at 2026-12-05T23:15:00Z, last fix "
                                                 "37.500000,-126.250000 at 2026-12-05T23:15:00Z");
}

TEST(ToolCommandLines, HelpVersionEndOfOptionsAndUnknownOptions) {
  for (const char* tool : {"vx880-mkcard", "vx880-telemetry"}) {
    const ToolOutput help = RunTool(Tool(tool) + " --help");
    EXPECT_EQ(help.status, 0) << tool;
    EXPECT_TRUE(help.out.starts_with(std::string("usage: ") + tool)) << help.out;
    const ToolOutput version = RunTool(Tool(tool) + " --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string(tool) + " " + VX_VERSION + "\n");
    const ToolOutput unknown = RunTool(Tool(tool) + " --bogus 2>&1");
    EXPECT_EQ(unknown.status, 2) << tool;
    EXPECT_TRUE(unknown.out.starts_with(std::string(tool) + ": unknown option --bogus\nusage: ")) << unknown.out;
  }
  // After "--" an option's name is a file's.
  const ToolOutput file = RunTool(Tool("vx880-telemetry") + " -- --gpx 2>&1");
  EXPECT_EQ(file.status, 1);
  EXPECT_EQ(file.out, "vx880-telemetry: --gpx: No such file or directory\n");
  EXPECT_EQ(RunTool(Tool("vx880-telemetry") + " --gpx --summary x 2>/dev/null").status, 2);
  EXPECT_EQ(RunTool(Tool("vx880-telemetry") + " 2>/dev/null").status, 2);
}

}  // namespace
}  // namespace vx::test
