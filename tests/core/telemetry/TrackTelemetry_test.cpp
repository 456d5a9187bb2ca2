// Telemetry carried as an MP4 track: the sample tables, GPMF `gpmd` tracks and NMEA text tracks, read through
// the layout table and held against ExifTool's reading of the same files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>

#include "ExifToolFixes.h"
#include "NmeaText.h"
#include "core/telemetry/layouts/Mp4Tracks.h"

namespace vx {
namespace {

using test::Be16, test::Be32, test::Box, test::Bytes, test::Cut, test::Text, test::operator+;

Bytes Be32s(double v) { return Be32(static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(v)))); }
Bytes FullBox(const char* type, const Bytes& payload) { return Box(type, Be32(0) + payload); }

constexpr std::size_t kChunkGap = 4;  // filler after each chunk, so that only the chunk offsets place samples

// The sample table of `sizes` (one second each at 1000 units a second, `perChunk` a chunk) in chunks from `at`.
Bytes SampleTable(const char* format, const std::vector<std::size_t>& sizes, std::uint32_t perChunk, std::size_t at) {
  const auto n = static_cast<std::uint32_t>(sizes.size());
  Bytes sizeEntries, offsets, toChunk = Be32(1) + Be32(std::min(n, perChunk)) + Be32(1);
  for (std::uint32_t i = 0; i < n; ++i) {
    sizeEntries = sizeEntries + Be32(static_cast<std::uint32_t>(sizes[i]));
    if (i % perChunk == 0) offsets = offsets + Be32(static_cast<std::uint32_t>(at + (i ? kChunkGap : 0)));
    at += sizes[i] + (i % perChunk == 0 && i ? kChunkGap : 0);
  }
  const std::uint32_t chunks = (n + perChunk - 1) / perChunk;
  if (n > perChunk && n % perChunk) toChunk = Be32(2) + toChunk + Be32(chunks) + Be32(n % perChunk) + Be32(1);
  else toChunk = Be32(1) + toChunk;
  const Bytes entry = Box(format, Bytes(6, 0) + Be16(1) + Bytes(16, 0));
  return Box("stbl", FullBox("stsd", Be32(1) + entry) + FullBox("stts", Be32(1) + Be32(n) + Be32(1000)) +
                         FullBox("stsc", toChunk) + FullBox("stsz", Be32(0) + Be32(n) + sizeEntries) +
                         FullBox("stco", Be32(chunks) + offsets));
}

// ftyp, moov with one track of `handler`/`format`, then mdat with its samples.
Bytes TrackFile(const char* handler, const char* format, const std::vector<Bytes>& samples, std::uint32_t perChunk = 2) {
  std::vector<std::size_t> sizes;
  Bytes media;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (i % perChunk == 0 && i) media = media + Bytes(kChunkGap, 0xEE);
    media = media + samples[i];
    sizes.push_back(samples[i].size());
  }
  const auto moov = [&](std::size_t mediaAt) {
    const Bytes hdlr = FullBox("hdlr", Be32(0) + Text(handler) + Bytes(12, 0) + Bytes{0});
    const Bytes mdhd = FullBox("mdhd", Be32(0) + Be32(0) + Be32(1000) + Be32(static_cast<std::uint32_t>(1000 * sizes.size())) + Be32(0));
    return Box("moov", Box("trak", Box("mdia", mdhd + hdlr + Box("minf", SampleTable(format, sizes, perChunk, mediaAt)))));
  };
  const std::size_t mediaAt = test::kFtyp.size() + moov(0).size() + 8;
  return test::kFtyp + moov(mediaAt) + Box("mdat", media);
}

// Overwrites the 32-bit word `at` bytes after the first `tag` in the file.
Bytes Patched(Bytes file, const char* tag, std::size_t at, std::uint32_t value) {
  const auto found = std::search(file.begin(), file.end(), tag, tag + 4);
  const Bytes word = Be32(value);
  std::copy(word.begin(), word.end(), found + 4 + at);
  return file;
}

// GPMF items: key, type, size of one structure, repeat, data padded to four bytes.
Bytes Klv(const char* key, char type, std::uint8_t structSize, const Bytes& data) {
  Bytes item = Text(std::string(key, 4)) + Bytes{std::uint8_t(type), structSize} + Be16(std::uint32_t(data.size() / structSize)) + data;
  item.resize((item.size() + 3) & ~std::size_t{3});
  return item;
}
Bytes Nest(const char* key, const Bytes& items) { return Klv(key, 0, 1, items); }

struct Point {
  double latitude, longitude, altitudeM, speedMs;
};
const Point kMunich{48.1173, 11.5166667, 520.0, 10.0};
const Point kSydney{-33.858333, 151.2125, 12.5, 15.0};

Bytes Gps5Stream(const std::vector<Point>& points, std::uint32_t fix, const char* utc = "240517102030.000") {
  Bytes rows;
  for (const Point& p : points) {
    rows = rows + Be32s(p.latitude * 1e7) + Be32s(p.longitude * 1e7) + Be32s(p.altitudeM * 1e3) +
           Be32s(p.speedMs * 1e3) + Be32s(p.speedMs * 1e2);
  }
  return Nest("STRM", Klv("SCAL", 'l', 4, Be32(10000000) + Be32(10000000) + Be32(1000) + Be32(1000) + Be32(100)) +
                          Klv("GPSF", 'L', 4, Be32(fix)) + Klv("GPSU", 'c', 16, Text(utc)) + Klv("GPS5", 'l', 20, rows));
}

// GPS9 rows also state their day (since 2000) and second, their precision and their fix.
Bytes Gps9Stream(const Point& p, std::uint32_t days, double seconds, std::uint16_t fix) {
  const Bytes row = Be32s(p.latitude * 1e7) + Be32s(p.longitude * 1e7) + Be32s(p.altitudeM * 1e3) +
                    Be32s(p.speedMs * 1e3) + Be32s(p.speedMs * 1e2) + Be32(days) + Be32s(seconds * 1e3) + Be16(150) +
                    Be16(fix);
  Bytes scale;
  for (std::uint32_t s : {10000000, 10000000, 1000, 1000, 100, 1, 1000, 100, 1}) scale = scale + Be32(s);
  return Nest("STRM", Klv("TYPE", 'c', 1, Text("lllllllSS")) + Klv("SCAL", 'l', 4, scale) + Klv("GPS9", '?', 32, row));
}

Bytes AccelStream(int count) {  // 418 counts a m/s²: z at 1 g, x and y at rest
  Bytes rows;
  for (int i = 0; i < count; ++i) rows = rows + Be16(0) + Be16(0) + Be16(4099);
  return Nest("STRM", Klv("SCAL", 's', 2, Be16(418)) + Klv("ACCL", 's', 6, rows));
}

Bytes Gpmf(const Bytes& streams) { return Nest("DEVC", streams); }

// A text sample: its 16-bit length, then NMEA sentences with their checksums, each ended by CR LF.
Bytes TextSample(std::initializer_list<const char*> sentences) {
  std::string text;
  for (const char* body : sentences) text += test::WithChecksum(body) + "\r\n";
  return Be16(static_cast<std::uint32_t>(text.size())) + Text(text);
}
constexpr const char* kRmcMunich = "GPRMC,102030.000,A,4807.0380,N,01131.0000,E,19.44,84.4,170524,,,A";
constexpr const char* kRmcSydney = "GPRMC,102031.000,A,3351.5000,S,15112.7500,E,29.16,359.0,170524,,,A";
constexpr const char* kRmcNextSecond = "GPRMC,102032.000,A,4807.0380,N,01131.0000,E,19.44,84.4,170524,,,A";
constexpr const char* kRmcVoid = "GPRMC,102033.000,V,,,,,,,170524,,,N";
constexpr const char* kGgaMunich = "GPGGA,102030.000,4807.0380,N,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,";

// ExifTool reads none of the fixtures with no count: GPMF of several points a sample, tx3g text tracks.
std::vector<test::LayoutFixture> Fixtures() {
  const Bytes gps5 = TrackFile("meta", "gpmd", {Gpmf(Gps5Stream({kMunich}, 3) + AccelStream(2)),
                                                 Gpmf(Gps5Stream({kSydney}, 2) + AccelStream(2)),
                                                 Gpmf(Gps5Stream({kMunich}, 0) + AccelStream(2))});
  Bytes badKlv = Gpmf(Gps5Stream({kSydney}, 3));
  badKlv[badKlv.size() - 20 - 2] = 9;  // GPS5 claims nine points where its container holds one
  Bytes badLength = TextSample({kRmcSydney});
  badLength[0] = 0xFF;  // a length past the sample
  const Bytes nmea = TrackFile("text", "text", {TextSample({kGgaMunich, kRmcMunich}), TextSample({kRmcSydney}),
                                                TextSample({kRmcVoid})});
  return {
      {"GPS5 and ACCL", gps5, {"GoPro GPMF", 3, 2, 6, false}, 3, 3.6},
      {"GPS9 before GPS5", TrackFile("meta", "gpmd", {Gpmf(Gps5Stream({kSydney}, 3) + Gps9Stream(kSydney, 8903, 37231.5, 3)),
                                                       Gpmf(Gps9Stream(kMunich, 8903, 37232.5, 0))}),
       {"GoPro GPMF", 2, 1, 0, false}, 1, 3.6},
      {"several GPS5 points a sample", TrackFile("meta", "gpmd", {Gpmf(Gps5Stream({kMunich, kSydney, kMunich, kSydney}, 3))}),
       {"GoPro GPMF", 4, 4, 0, false}},
      {"GPMF sample cut off", Cut(gps5, 100), {"GoPro GPMF", 2, 2, 4, true}, 2, 3.6},
      {"GPMF item past its container", TrackFile("meta", "gpmd", {Gpmf(Gps5Stream({kMunich}, 3)), badKlv,
                                                                   Gpmf(Gps5Stream({kMunich}, 3))}),
       {"GoPro GPMF", 1, 1, 0, true}, 2, 3.6},  // ExifTool reads on past the damage
      {"gpmd track of another camera", TrackFile("meta", "gpmd", {Text("FMAS") + Bytes(60, 0)}), {"", 0, 0, 0, false}},
      {"NMEA text track", nmea, {"NMEA text track", 2, 2, 0, false}, 2},
      {"NMEA subtitle track", TrackFile("sbtl", "tx3g", {TextSample({kRmcMunich, kRmcNextSecond})}),
       {"NMEA text track", 2, 2, 0, false}},
      {"NMEA length past its sample",
       TrackFile("text", "text", {TextSample({kGgaMunich, kRmcMunich}), badLength, TextSample({kRmcNextSecond})}),
       {"NMEA text track", 1, 1, 0, true}, 3},
      {"subtitles without NMEA", TrackFile("text", "text", {Be16(5) + Text("Hello")}), {"", 0, 0, 0, false}},
  };
}

// Where the points of a sample fall, and their units: GPMF points spread over the sample's second, UTC from
// GPSU or GPS9's own day and second, ACCL in g; NMEA fixes at their sample's time, GGA altitude joined.
TEST(TrackTelemetry, GpmfAndNmeaTracksAreReadThroughTheLayoutTableAsExifToolReadsThem) {
  const std::vector<TelemetryTrack> tracks = test::ExpectFixturesRead(Fixtures());
  const TelemetryTrack &accel = tracks.at(0), &gps9 = tracks.at(1), &gps5 = tracks.at(2), &nmea = tracks.at(6);
  EXPECT_EQ(std::tuple(gps5.gps[1].mediaMs, *gps5.gps[1].utcMs, *gps5.gps[0].altitudeM, gps5.gps[0].speedKmh),
            std::tuple(250u, 1715941230250, 520.0, 36.0));  // 2024-05-17 10:20:30.250 UTC
  EXPECT_EQ(std::tuple(gps9.gps[0].mediaMs, *gps9.gps[0].utcMs, gps9.gps[0].latitude, gps9.gps[1].valid),
            std::tuple(0u, 1715941231500, kSydney.latitude, false));  // day 8903 since 2000, 10:20:31.5
  EXPECT_EQ(std::tuple(accel.accel[3].mediaMs, accel.accel[3].x), std::tuple(1500u, 0.0));
  EXPECT_NEAR(accel.accel[3].z, 4099 / 418.0 / 9.80665, 1e-9);
  EXPECT_EQ(std::tuple(nmea.gps[1].mediaMs, *nmea.gps[0].altitudeM, *nmea.gps[1].headingDeg), std::tuple(1000u, 545.4, 359.0));
  EXPECT_EQ(tracks.at(7).gps.at(1).mediaMs, 2000u);  // one sample, its second fix two seconds later
}

// The sample tables place each sample by its chunk, and every count and offset is held to its box and the file.
TEST(TrackTelemetry, SampleTablesAreReadWithinTheirBoxesAndTheFile) {
  const Bytes good = TrackFile("text", "text", {Bytes(10, 1), Bytes(20, 2), Bytes(30, 3), Bytes(40, 4), Bytes(50, 5)});
  const struct {
    const char* name;
    Bytes file;
    std::size_t samples;
    bool warned;
  } cases[] = {
      {"whole", good, 5, false},
      {"size count past the box", Patched(good, "stsz", 8, 0xFFFFFFFF), 5, true},
      {"shared size past the file", Patched(good, "stsz", 4, 0x7FFFFFFF), 0, true},
      {"chunk offset past the file", Patched(good, "stco", 12, 0xFFFFFF00), 2, true},
      {"times for two samples", Patched(good, "stts", 8, 2), 2, true},
      {"first chunk not the first", Patched(good, "stsc", 8, 2), 0, true},
      {"file cut in the last sample", Cut(good, 10), 4, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MemoryByteSource file(c.file);
    const auto track = FindMp4Track(file, {"text"});
    ASSERT_TRUE(track);
    std::string warning;
    const std::vector<Mp4Sample> samples = ReadMp4Samples(file, *track, warning);
    EXPECT_EQ(std::tuple(samples.size(), !warning.empty()), std::tuple(c.samples, c.warned)) << warning;
    for (std::size_t i = 0; i < samples.size(); ++i) {
      EXPECT_EQ(std::tuple(samples[i].size, samples[i].startMs, samples[i].durationMs), std::tuple(10 * (i + 1), 1000 * i, 1000u));
      EXPECT_EQ(c.file[samples[i].offset], i + 1);
      EXPECT_EQ(c.file[samples[i].offset + samples[i].size - 1], i + 1);
    }
  }
}

}  // namespace
}  // namespace vx
