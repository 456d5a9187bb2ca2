// What the card maker writes is what the export prints, as CSV and as GPX; unreadable files are named.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "DriveSimulator.h"
#include "TelemetryExport.h"
#include "ToolRunner.h"
#include "core/telemetry/RecordParser.h"

namespace vx::test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The rows the export must print for the drive the card maker simulated with these settings.
std::vector<std::string> ExpectedRows(int seconds, std::uint32_t seed, int gpsLoss) {
  mkcard::DriveScript script;
  script.start = {2026, 12, 6, 8, 15, 0};
  script.seconds = seconds;
  script.seed = seed;
  script.signalLossFrom = gpsLoss;
  script.signalLossSeconds = 2;
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

class ExportedRecordings : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = std::make_unique<TempDir>("export");
    for (const char* name : {"drive.MP4", "drive.AVI"}) {
      ASSERT_EQ(RunTool(Tool("vx880-mkcard") + " --file " + (*s_dir / name) + " --seconds 5 --seed 3 --gps-loss 2").status, 0);
    }
  }
  static void TearDownTestSuite() { s_dir.reset(); }
  static std::unique_ptr<TempDir> s_dir;
};
std::unique_ptr<TempDir> ExportedRecordings::s_dir;

TEST_F(ExportedRecordings, CsvIsExactlyWhatWasWrittenInFileOrder) {
  const auto expected = ExpectedRows(5, 3, 2);
  ASSERT_EQ(expected.size(), 55u);
  for (const char* name : {"drive.MP4", "drive.AVI"}) {
    const ToolOutput csv = RunTool(Tool("vx880-telemetry") + " " + (*s_dir / name));
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(Lines(csv.out), expected) << name;
  }
  const auto rows = Lines(RunTool(Tool("vx880-telemetry") + " " + (*s_dir / "drive.MP4")).out);
  EXPECT_TRUE(rows[0].starts_with("G,0,1,3734.2321")) << rows[0];
  EXPECT_TRUE(rows[0].ends_with(",26,12,5,32,15,0")) << rows[0];  // hour kept with its +9
  EXPECT_TRUE(rows[22].starts_with("G,2000,0,0.000000,0.000000,")) << rows[22];
}

TEST_F(ExportedRecordings, GpxHoldsTheValidFixesInUtc) {
  const ToolOutput gpx = RunTool(Tool("vx880-telemetry") + " --gpx " + (*s_dir / "drive.MP4"));
  EXPECT_EQ(gpx.status, 0);
  std::size_t points = 0;
  for (std::size_t at = 0; (at = gpx.out.find("<trkpt ", at)) != std::string::npos; ++at) ++points;
  EXPECT_EQ(points, 3u);  // five fixes, two lost
  EXPECT_NE(gpx.out.find("<time>2026-12-05T23:15:00Z</time>"), std::string::npos);
  EXPECT_EQ(gpx.out.find("<time>2026-12-05T23:15:02Z</time>"), std::string::npos);
  EXPECT_NE(gpx.out.find("lat=\"37.570535\" lon=\"126.982533\""), std::string::npos);
  EXPECT_TRUE(gpx.out.ends_with("</gpx>\n"));
}

TEST_F(ExportedRecordings, UnreadableFilesAreNamedAndTheOthersStillExported) {
  const std::string errors = *s_dir / "errors.txt";
  std::ofstream(*s_dir / "notes.txt") << "not a recording";
  const ToolOutput run = RunTool(Tool("vx880-telemetry") + " " + (*s_dir / "drive.MP4") + " /nonexistent.MP4 " +
                                 (*s_dir / "notes.txt") + " " + (*s_dir / "drive.AVI") + " 2>" + errors);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Lines(run.out).size(), 110u);
  std::ifstream in(errors);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  const auto lines = Lines(text);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("/nonexistent.MP4: "), std::string::npos);
  EXPECT_NE(lines[1].find("notes.txt: not an AVI or MP4 recording"), std::string::npos);
}

}  // namespace
}  // namespace vx::test
