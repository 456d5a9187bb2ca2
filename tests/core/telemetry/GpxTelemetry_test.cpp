// GPX tracks: our reader on fixtures written here, held against gpsbabel reading the same files.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <sstream>

#include "ExifToolFixes.h"
#include "core/telemetry/layouts/GpxTelemetry.h"

namespace vx {
namespace {

using test::Bytes, test::Text, test::operator+;

constexpr std::int64_t kStartMs = 1718187300000;  // 2024-06-12T10:15:00Z
constexpr double kNorthPerSecond = 0.0001;         // about 40 km/h

// A point `s` seconds after the start, `s` steps north; `inner` goes before its time.
std::string Point(const char* tag, int s, std::string inner = {}, char quote = '"', std::string time = {}) {
  char text[160];
  std::snprintf(text, sizeof text, "<%s lat=%c%.6f%c lon=%c126.9%c>", tag, quote, 37.5 + s * kNorthPerSecond, quote,
                quote, quote);
  if (time.empty()) time = "2024-06-12T10:15:" + std::string(s < 10 ? "0" : "") + std::to_string(s) + "Z";
  return text + inner + "<time>" + time + "</time></" + tag + ">\n";
}
std::string Gpx11(const std::string& body) {
  return "\xEF\xBB\xBF<?xml version='1.0' encoding='UTF-8'?>\n<!-- written by a phone -->\n"
         "<gpx version=\"1.1\" creator=\"test\" xmlns=\"http://www.topografix.com/GPX/1/1\"\n"
         " xmlns:gpxtpx='http://www.garmin.com/xmlschemas/TrackPointExtension/v2'>\n" + body + "</gpx>\n";
}
std::string Gpx10(const std::string& body) {
  return "<?xml version=\"1.0\"?>\n<gpx version=\"1.0\" xmlns=\"http://www.topografix.com/GPX/1/0\">" + body + "</gpx>";
}
std::string Track(const std::string& points) {
  return "<trk><name>A &amp; B &#x263A;</name><trkseg>\n" + points + "</trkseg></trk>\n";
}

// Elevation, a course in the Garmin extension, CDATA and entities, single and double quotes, a way point
// that the track outranks.
const std::string kTrack11 = Gpx11(
    "<wpt lat=\"1\" lon=\"2\"><time>2024-06-12T10:15:00Z</time></wpt>\n" +
    Track(Point("trkpt", 0, "<ele>12.5</ele>") + Point("trkpt", 1, "<desc><![CDATA[<b>&amp;</b>]]> &lt;3</desc>", '\'') +
          "<!-- a pause -->" +
          Point("trkpt", 2, "<extensions><gpxtpx:TrackPointExtension><gpxtpx:course>3.5</gpxtpx:course>"
                            "</gpxtpx:TrackPointExtension></extensions>") +
          Point("trkpt", 3, "<ele>14</ele>", '"', "2024-06-12T12:15:03+02:00")));
const std::string kTrack10 =
    Gpx10(Track(Point("trkpt", 0, "<course>10</course><speed>11.5</speed>") + Point("trkpt", 1, "<speed>12</speed>") +
                Point("trkpt", 2, "<speed>12.5</speed>")));
const std::string kRoute = Gpx11("<rte>" + Point("rtept", 0) + Point("rtept", 1) + Point("rtept", 2) + "</rte>");
const std::string kWays = Gpx11(Point("wpt", 0) + Point("wpt", 5));
// Good at 0 and 9; between them no fix: out of range, 0/0, no number, no lon, no time, no such day, back in time.
const std::string kBadPoints = Gpx11(Track(
    Point("trkpt", 0) + "<trkpt lat=\"95\" lon=\"126.9\"><time>2024-06-12T10:15:01Z</time></trkpt>\n"
    "<trkpt lat=\"37.5\" lon=\"-180.5\"><time>2024-06-12T10:15:02Z</time></trkpt>\n"
    "<trkpt lat=\"0\" lon=\"0\"><time>2024-06-12T10:15:03Z</time></trkpt>\n"
    "<trkpt lat=\"3x\" lon=\"126.9\"><time>2024-06-12T10:15:04Z</time></trkpt>\n"
    "<trkpt lat=\"37.5\"><time>2024-06-12T10:15:05Z</time></trkpt>\n<trkpt lat=\"37.5\" lon=\"126.9\"/>\n" +
    Point("trkpt", 7, {}, '"', "2024-02-30T10:15:07Z") + Point("trkpt", 8, {}, '"', "2024-06-12T10:14:59Z") +
    Point("trkpt", 9)));

Bytes Replaced(const std::string& text, const std::string& from, const std::string& to) {
  std::string out = text;
  out.replace(out.find(from, out.find("<trkpt lat='37.500100'")), from.size(), to);  // inside the second point
  return Text(out);
}

// gpsbabel's rows of `path` read with `options`: latitude, longitude, altitude, speed (m/s), course, UTC ms
// (NaN where it has no such column).
std::vector<std::array<double, 6>> GpsbabelRows(const std::string& path, const std::string& options) {
  const test::ToolOutput run = test::RunTool("gpsbabel " + options + " -i gpx -f " + test::Quote(path) +
                                             " -o unicsv,utc=0 -F - ");
  EXPECT_EQ(run.status, 0) << "gpsbabel is needed as the independent reader of GPX (Debian gpsbabel)";
  std::istringstream lines(run.out);
  std::string line;
  const auto nextLine = [&lines, &line] {
    const bool got = static_cast<bool>(std::getline(lines, line));
    if (got && line.ends_with('\r')) line.pop_back();  // it writes CRLF
    return got;
  };
  nextLine();
  std::vector<std::string> header;
  for (std::istringstream cells(line); std::getline(cells, line, ',');) header.push_back(line);
  std::vector<std::array<double, 6>> rows;
  static const std::regex cell(R"re(("[^"]*"|[^,]*)(,|$))re");
  while (nextLine()) {
    std::array<double, 6> row;
    row.fill(NAN);
    std::size_t column = 0;
    std::string date;
    for (std::sregex_iterator it(line.begin(), line.end(), cell), end; it != end && column < header.size(); ++it) {
      const std::string value = (*it)[1], name = header[column++];
      const char* names[] = {"Latitude", "Longitude", "Altitude", "Speed", "Course"};
      for (std::size_t i = 0; i < 5; ++i) {
        if (name == names[i] && !value.empty()) row[i] = std::stod(value);
      }
      if (name == "Date") date = value;
      if (name == "Time") row[5] = double(kStartMs) + (std::stod(value.substr(6)) + std::stoi(value.substr(3, 2)) * 60 -
                                                       15 * 60 + (std::stoi(value.substr(0, 2)) - 10) * 3600) * 1000;
    }
    EXPECT_EQ(date, "2024/06/12");
    rows.push_back(row);
  }
  return rows;
}

void ExpectGpsbabelAgrees(const std::string& path, const Bytes& text, const std::string& options,
                          const TelemetryTrack& ours) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(text.data()), std::streamsize(text.size()));
  const auto theirs = GpsbabelRows(path, options);
  ASSERT_EQ(theirs.size(), ours.gps.size());
  for (std::size_t i = 0; i < theirs.size(); ++i) {
    const GpsSample& fix = ours.gps[i];
    const auto& [lat, lon, ele, speedMs, course, utcMs] = theirs[i];
    EXPECT_NEAR(lat, fix.latitude, 1e-5);
    EXPECT_NEAR(lon, fix.longitude, 1e-5);
    EXPECT_TRUE(std::isnan(ele) ? !fix.altitudeM : fix.altitudeM && std::abs(*fix.altitudeM - ele) < 0.01) << ele;
    EXPECT_EQ(utcMs, double(*fix.utcMs));
    // gpsbabel works motion out from the point before, so it has none for the first point.
    if (!std::isnan(speedMs) && (i > 0 || options.find("speed") == std::string::npos)) {
      EXPECT_NEAR(speedMs * 3.6, fix.speedKmh, 0.1);
      EXPECT_TRUE(std::isnan(course) || std::abs(course - fix.headingDeg.value_or(-1)) < 0.5) << course;
    }
  }
}

TEST(GpxTelemetry, ReaderFindsThePointsGpsbabelDoesAndStopsAtDamage) {
  const test::TempDir dir("gpx");
  struct Case {
    const char* name;
    Bytes text;
    const char* gpsbabel;  // its options as the independent reader; nullptr: a case it would read otherwise
    std::size_t fixes;
    bool warned;
  };
  const Case cases[] = {
      {"track 1.1", Text(kTrack11), "-t -x track,speed,course", 4, false},
      {"track 1.0 stated speeds", Text(kTrack10), "-t", 3, false},
      {"route", Text(kRoute), "-r", 3, false},
      {"way points", Text(kWays), "-w", 2, false},
      {"points that are no fix", Text(kBadPoints), nullptr, 2, false},
      {"cut short", Text(kTrack11.substr(0, kTrack11.find("<!-- a pause"))), nullptr, 2, true},
      {"unknown entity", Replaced(kTrack11, "<desc>", "<desc>&nbsp;"), nullptr, 1, true},
      {"end tag mismatch", Replaced(kTrack11, "</time></trkpt>", "</time></trkseg>"), nullptr, 1, true},
      {"attribute unquoted", Replaced(kTrack11, "lon='", "lon="), nullptr, 1, true},
      {"not GPX", Text("<kml><Placemark/></kml>"), nullptr, 0, true},
      {"no times", Text(Gpx11("<wpt lat='37.5' lon='126.9'/>")), nullptr, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TelemetryTrack track = ReadGpxText(c.text, std::nullopt, 0);
    EXPECT_EQ(track.layout, kGpxLayoutName);
    EXPECT_EQ(track.gps.size(), c.fixes);
    EXPECT_EQ(!track.warning.empty(), c.warned) << track.warning;
    if (c.gpsbabel) ExpectGpsbabelAgrees(dir / "track.gpx", c.text, c.gpsbabel, track);
  }
  const TelemetryTrack bad = ReadGpxText(Text(kBadPoints), std::nullopt, 0);
  EXPECT_EQ(bad.gps.back().mediaMs, 9000u);
  EXPECT_NEAR(bad.gps.back().speedKmh, 11.1195 * 3.6, 0.01);  // a step north (11.12 m) a second
  EXPECT_EQ(bad.gps.back().headingDeg, 0.0);
}

// The recording's start (the first point's time when not given) plus the offset is media time 0; points
// before it are left out.
TEST(GpxTelemetry, PointsArePlacedByTheRecordingsStartAndOffset) {
  const struct {
    std::optional<std::int64_t> startMs;
    std::int64_t offsetMs;
    std::vector<std::uint32_t> mediaMs;
  } cases[] = {
      {std::nullopt, 0, {0, 1000, 2000, 3000}},
      {std::nullopt, -2000, {2000, 3000, 4000, 5000}},
      {kStartMs + 1500, 0, {500, 1500}},
      {kStartMs + 2000, -1500, {500, 1500, 2500}},
      {kStartMs + 60000, 0, {}},
  };
  for (const auto& c : cases) {
    std::vector<std::uint32_t> mediaMs;
    for (const GpsSample& fix : ReadGpxText(Text(kTrack11), c.startMs, c.offsetMs).gps) mediaMs.push_back(fix.mediaMs);
    EXPECT_EQ(mediaMs, c.mediaMs);
  }
}

// A GPX of the recording's base name is read when nothing inside the recording or a camera's log beside it is.
TEST(GpxTelemetry, SideGpxComesAfterTheOtherLayouts) {
  const Bytes plain = test::Box("ftyp", Text("isom")) + test::Box("mdat", Bytes(16, 0));
  const Bytes gpx = Text(kTrack10);
  const auto read = [&](std::map<std::string, Bytes> files) {
    return ReadTelemetry(MemoryByteSource(plain), test::SideFilesOf(std::move(files))).layout;
  };
  EXPECT_EQ(read({{".GPX", gpx}}), kGpxLayoutName);
  EXPECT_EQ(read({{".gpx", gpx}, {".NMEA", Text("$GPRMC\n")}}), "NMEA log");
  EXPECT_EQ(read({}), "");
}

}  // namespace
}  // namespace vx
