// ExifTool as the independent reader of the telemetry fixtures: our fixes held against its fixes.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <regex>

#include "Mp4Boxes.h"
#include "ToolRunner.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx::test {

// ExifTool's latitude, longitude and speed of each document in `file` that holds a position, in document order
// (other documents, such as G-sensor records, are left out).
inline std::vector<std::array<double, 3>> ExifToolFixes(const std::string& path, const Bytes& file) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
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
  const auto theirs = ExifToolFixes(path, file);
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

}  // namespace vx::test
