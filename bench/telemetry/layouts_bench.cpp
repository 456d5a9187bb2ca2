// Reads the telemetry of a three-minute recording in each layout the card maker writes, with our readers and
// with ExifTool on the same file; and measures how much of a recording the Novatek search reads without an index.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <vector>

#include "ToolRunner.h"
#include "core/telemetry/TelemetryLayouts.h"
#include "core/telemetry/layouts/Mp4Boxes.h"
#include "core/telemetry/layouts/NovatekTelemetry.h"

namespace {

using Clock = std::chrono::steady_clock;
using vx::test::Quote;
constexpr int kOurRuns = 11;
constexpr int kExifToolRuns = 3;  // a whole Perl process each time
constexpr std::uint64_t kScanLimit = 32ull << 20;

double MedianMs(int runs, const std::function<void()>& run) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    run();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[runs / 2];
}

std::size_t OurFixes(const std::string& path) {
  const vx::TelemetryTrack track = vx::ReadRecordingTelemetry(path);
  return static_cast<std::size_t>(std::ranges::count(track.gps, true, &vx::GpsSample::valid));
}

// ExifTool's fixes: documents with a latitude inside the file, or, for a log beside it, the points its
// geotagger loads (it reads no NMEA log as a file of its own).
std::size_t ExifToolFixes(const std::string& path, const std::string& sideLog) {
  if (!sideLog.empty()) {
    const std::string out = vx::test::RunTool("LC_ALL=C exiftool -v -geotag " + Quote(sideLog) +
                                              " '-geotime=2026:12:05 23:15:00Z' -o /dev/null 2>&1").out;
    std::smatch m;
    return std::regex_search(out, m, std::regex(R"(Loaded (\d+) points)")) ? std::stoul(m[1]) : 0;
  }
  const std::string json = vx::test::RunTool("LC_ALL=C exiftool -ee -n -j -a -G3 " + Quote(path)).out;
  const std::regex latitude(R"("Doc\d+:GPSLatitude")");
  return static_cast<std::size_t>(std::distance(std::sregex_iterator(json.begin(), json.end(), latitude), {}));
}

// A file's bytes that count what is read of them.
struct CountingByteSource final : vx::ByteSource {
  explicit CountingByteSource(const vx::ByteSource& inner) : file(inner) {}
  std::uint64_t Size() const override { return file.Size(); }
  bool Read(std::uint64_t at, std::span<std::uint8_t> out) const override {
    read += out.size();
    return file.Read(at, out);
  }
  const vx::ByteSource& file;
  mutable std::uint64_t read = 0;
};

// The Novatek recording with its `gps ` index renamed `free`: the reader must search the media data.
std::string WithoutIndex(const std::string& path) {
  std::string error;
  const auto file = vx::FileByteSource::Open(path, error);
  const auto moov = vx::FindMp4Box(*file, 0, file->Size(), "moov");
  const auto index = vx::FindMp4Box(*file, moov->payloadOffset, moov->payloadOffset + moov->payloadSize, "gps ");
  const std::string copy = path + ".noindex.MP4";
  std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
  std::fstream(copy, std::ios::binary | std::ios::in | std::ios::out).seekp(static_cast<std::streamoff>(index->payloadOffset - 4)).write("free", 4);
  return copy;
}

void MeasureScan(const std::string& novatek) {
  std::string error;
  const auto file = vx::FileByteSource::Open(WithoutIndex(novatek), error);
  const CountingByteSource counted(*file);
  const vx::TelemetryTrack track = vx::ReadNovatekTelemetry(counted);
  const auto mdat = vx::FindMp4Box(*file, 0, file->Size(), "mdat");
  std::printf("novatek_scan_mdat_bytes: %llu\n", static_cast<unsigned long long>(mdat->payloadSize));
  std::printf("novatek_scan_bytes_read: %llu\n", static_cast<unsigned long long>(counted.read));
  std::printf("novatek_scan_limit_bytes: %llu\n", static_cast<unsigned long long>(kScanLimit));
  std::printf("novatek_scan_fixes: %zu\n", track.gps.size());
}

}  // namespace

int main() {
  const vx::test::TempDir dir("layouts-bench");
  bool agree = true;
  for (const char* layout : {"vx880", "novatek", "pittasoft", "nmea"}) {
    const std::string path = dir / (std::string(layout) + ".MP4");
    vx::test::RunTool(vx::test::Tool("vx880-mkcard") + " --file " + path + " --seconds 180 --streams 1 --layout " +
                      layout + " >/dev/null 2>&1");
    const std::string sideLog = std::string(layout) == "nmea" ? dir / "nmea.NMEA" : "";
    const std::size_t ours = OurFixes(path), theirs = ExifToolFixes(path, sideLog);
    const double oursMs = MedianMs(kOurRuns, [&] { OurFixes(path); });
    const double exifToolMs = MedianMs(kExifToolRuns, [&] { ExifToolFixes(path, sideLog); });
    std::printf("%s_ours_ms: %.3f\n%s_exiftool_ms: %.1f\n", layout, oursMs, layout, exifToolMs);
    std::printf("%s_ours_fixes: %zu\n%s_exiftool_fixes: %zu\n", layout, ours, layout, theirs);
    std::printf("%s_ours_vs_exiftool_ratio: %.4f\n", layout, oursMs / exifToolMs);
    // ExifTool does not know the VX-880QN log; every other layout must read the same 180 fixes.
    agree = agree && ours == 180 && (std::string(layout) == "vx880" || theirs == ours);
    if (std::string(layout) == "novatek") MeasureScan(path);
  }
  return agree ? 0 : 1;
}
