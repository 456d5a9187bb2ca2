// ExifTool as the independent reader of the telemetry fixtures: our fixes held against its fixes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <tuple>

#include "Mp4Boxes.h"
#include "ToolRunner.h"
#include "core/telemetry/TelemetryLayouts.h"

namespace vx::test {

// ExifTool's latitude, longitude and speed of each document of the file at `path` that holds a position, in
// document order (other documents, such as G-sensor records, are left out).
inline std::vector<std::array<double, 3>> ExifToolFixes(const std::string& path) {
  const ToolOutput run = RunTool("LC_ALL=C exiftool -ee -n -j -a -G3 " + Quote(path));
  EXPECT_EQ(run.status, 0) << "ExifTool is needed as the independent reader (Debian libimage-exiftool-perl)";
  static const std::regex tag(R"re("Doc(\d+):GPS(Latitude|Longitude|Speed)": (-?[0-9.eE+-]+))re");
  std::map<std::size_t, std::array<double, 3>> byDoc;
  for (std::sregex_iterator it(run.out.begin(), run.out.end(), tag), end; it != end; ++it) {
    byDoc[std::stoul((*it)[1])][(*it)[2] == "Latitude" ? 0 : (*it)[2] == "Longitude" ? 1 : 2] = std::stod((*it)[3]);
  }
  std::vector<std::array<double, 3>> fixes;
  for (const auto& [doc, fix] : byDoc) fixes.push_back(fix);
  return fixes;
}

// Our valid fixes of `file` are ExifTool's first ones, at its place to 1e-5 degrees and its speed to 0.1 km/h;
// it reads `theirCount` in all, some of which may be no fix for us. `kmhPerTheirSpeed` converts the speed unit
// ExifTool states for the layout (km/h unless it says otherwise).
inline void ExpectExifToolAgrees(const std::string& path, const Bytes& file, const TelemetryTrack& ours,
                                 std::size_t theirCount, double kmhPerTheirSpeed = 1.0) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  const auto theirs = ExifToolFixes(path);
  ASSERT_EQ(theirs.size(), theirCount);
  auto their = theirs.begin();
  for (const GpsSample& fix : ours.gps) {
    if (!fix.valid) continue;
    ASSERT_NE(their, theirs.end()) << "a fix ExifTool does not read";
    EXPECT_NEAR((*their)[0], fix.latitude, 1e-5);
    EXPECT_NEAR((*their)[1], fix.longitude, 1e-5);
    EXPECT_NEAR((*their++)[2] * kmhPerTheirSpeed, fix.speedKmh, 0.1);
  }
}

// A recording's side files by suffix, held in memory.
inline SideFiles SideFilesOf(std::map<std::string, Bytes> files) {
  auto held = std::make_shared<std::map<std::string, Bytes>>(std::move(files));
  return [held](std::string_view suffix) -> std::unique_ptr<ByteSource> {
    const auto it = held->find(std::string(suffix));
    return it == held->end() ? nullptr : std::make_unique<MemoryByteSource>(it->second);
  };
}

inline std::size_t ValidFixes(const TelemetryTrack& t) { return std::ranges::count(t.gps, true, &GpsSample::valid); }

// A file written as a camera writes it and what it reads as: layout, fixes, valid ones, G samples, a warning.
// ExifTool reads `exifToolFixes` of `exifToolFile` (the file itself when empty; none for a file it reads
// otherwise), its speed in a unit of `kmhPerExifToolSpeed` km/h.
struct LayoutFixture {
  const char* name;
  Bytes file;
  std::tuple<std::string, std::size_t, std::size_t, std::size_t, bool> reads;
  std::optional<std::size_t> exifToolFixes = std::nullopt;
  double kmhPerExifToolSpeed = 1.0;
  Bytes exifToolFile = {};
};

// Reads each fixture through the layout table and holds it to its reading and to ExifTool's; the tracks read.
inline std::vector<TelemetryTrack> ExpectFixturesRead(const std::vector<LayoutFixture>& fixtures) {
  const TempDir dir("layout-fixtures");
  std::vector<TelemetryTrack> tracks;
  for (const LayoutFixture& f : fixtures) {
    SCOPED_TRACE(f.name);
    const TelemetryTrack& t = tracks.emplace_back(ReadTelemetry(MemoryByteSource(f.file), {}));
    EXPECT_EQ(std::tuple(t.layout, t.gps.size(), ValidFixes(t), t.accel.size(), !t.warning.empty()), f.reads)
        << t.warning;
    if (!f.exifToolFixes) continue;
    const std::string path = dir / (f.file.at(0) == 'R' ? "fixture.avi" : "fixture.mp4");
    ExpectExifToolAgrees(path, f.exifToolFile.empty() ? f.file : f.exifToolFile, t, *f.exifToolFixes,
                         f.kmhPerExifToolSpeed);
  }
  return tracks;
}

}  // namespace vx::test
