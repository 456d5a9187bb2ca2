// ExifTool as the independent reader of the telemetry fixtures: our fixes held against its fixes.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <regex>

#include "Mp4Boxes.h"
#include "ToolRunner.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx::test {

// ExifTool's latitude, longitude and speed in km/h of each document in `file`, in document order.
inline std::vector<std::array<double, 3>> ExifToolFixes(const std::string& path, const Bytes& file) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  const ToolOutput run = RunTool("LC_ALL=C exiftool -ee -n -j -a -G3 " + Quote(path));
  EXPECT_EQ(run.status, 0) << "ExifTool is needed as the independent reader (Debian libimage-exiftool-perl)";
  static const std::regex tag(R"re("Doc(\d+):GPS(Latitude|Longitude|Speed)": (-?[0-9.eE+-]+))re");
  std::vector<std::array<double, 3>> fixes;
  for (std::sregex_iterator it(run.out.begin(), run.out.end(), tag), end; it != end; ++it) {
    const std::size_t doc = std::stoul((*it)[1]);
    if (doc > fixes.size()) fixes.resize(doc);
    fixes[doc - 1][(*it)[2] == "Latitude" ? 0 : (*it)[2] == "Longitude" ? 1 : 2] = std::stod((*it)[3]);
  }
  return fixes;
}

// Our valid fixes of `file` are ExifTool's first ones, at its place to 1e-5 degrees and its speed to 0.1 km/h;
// it reads `theirCount` in all, some of which may be no fix for us. Where ExifTool states speeds in another
// unit (m/s for GPMF), `kmhPerTheirSpeed` converts them.
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
