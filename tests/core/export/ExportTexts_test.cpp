// Overlay texts per moment, SHA-256 against known digests, and the manifest written and read back.
#include <gtest/gtest.h>

#include "core/common/Sha256.h"
#include "core/export/ExportManifest.h"
#include "core/export/OverlayText.h"

namespace vx {
namespace {

TEST(OverlayText, WritesTimeZoneSpeedPlaceHeadingAndFile) {
  TelemetryTrack track;
  GpsSample fix;
  fix.mediaMs = 4'000, fix.valid = true, fix.latitude = -33.86785, fix.longitude = 151.20732, fix.speedKmh = 80.4;
  fix.headingDeg = 90.0;
  track.gps = {fix};
  const std::int64_t start = 1'765'008'900'000;  // 2025-12-06T08:15:00Z
  struct Case {
    std::optional<int> zone;
    SpeedUnit unit;
    const TelemetryTrack* track;
    std::uint32_t mediaMs;
    std::string text;
  };
  const std::vector<Case> cases = {
      {540, SpeedUnit::Kmh, &track, 5'000,
       "2025-12-06 17:15:05 UTC+09:00\n80 km/h  E 90\u00b0\n33.86785 S  151.20732 E\nX_D01.MP4"},
      {std::nullopt, SpeedUnit::Mph, &track, 3'000,
       "2025-12-06 08:15:03 UTC\n50 mph  E 90\u00b0\n33.86785 S  151.20732 E\nX_D01.MP4"},
      {-330, SpeedUnit::Kmh, &track, 6'001, "2025-12-06 02:45:06 UTC-05:30\nno GPS\nX_D01.MP4"},  // fix too far
      {0, SpeedUnit::Kmh, nullptr, 0, "2025-12-06 08:15:00 UTC+00:00\nno GPS\nX_D01.MP4"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OverlayText({"X_D01.MP4", start, c.zone, c.unit, c.track}, c.mediaMs), c.text);
  }
}

TEST(Sha256, MatchesKnownDigestsAcrossBlockBoundaries) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",  // 56 bytes: the length needs a block of its own
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1'000'000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& [message, digest] : cases) {
    CSha256 whole;
    whole.Update(message.data(), message.size());
    EXPECT_EQ(whole.HexDigest(), digest) << message.size();
    CSha256 pieces;  // fed in odd pieces, as a file is read
    for (std::size_t at = 0; at < message.size(); at += 37) pieces.Update(message.data() + at, std::min<std::size_t>(37, message.size() - at));
    EXPECT_EQ(pieces.HexDigest(), digest) << message.size();
  }
  EXPECT_FALSE(FileSha256("/nonexistent/file"));
}

TEST(ExportManifest, ReadsBackWhatItWrites) {
  ExportManifest manifest{"vx880-export 0.1.0", "2026-12-08T08:50:00Z", "/media/card", "as marked",
                          {"sound left out"}, {}};
  ManifestFile original;
  original.path = "DCIM/100DRIVE/odd\\name\nwith line.MP4";
  original.sizeBytes = 123456789012;
  original.modified = "2026-12-06T08:15:10Z";
  original.span = "3.000 s to 10.000 s";
  original.sha256 = std::string(64, 'a');
  ManifestFile clip;
  clip.role = ManifestFile::Role::Export;
  clip.path = "clip.mp4";
  clip.sha256 = std::string(64, '0');
  manifest.files = {original, clip};
  std::string error;
  const auto read = ReadManifest(WriteManifest(manifest), error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(WriteManifest(*read), WriteManifest(manifest));
  ASSERT_EQ(read->files.size(), 2u);
  EXPECT_EQ(read->files[0].path, original.path);
  EXPECT_EQ(read->files[1].role, ManifestFile::Role::Export);
}

TEST(ExportManifest, RefusesDamagedText) {
  const std::string head = "VX-880QN card viewer export manifest\nviewer: v\n";
  const std::string sha = "  sha256: " + std::string(64, 'b') + "\n";
  const std::vector<std::string> bad = {
      "", "something else\n", head + "colour: red\n", head + "original: a\n  size: 1\n",
      head + "original: a\n  sha256: XYZ\n", head + "original: a\n  size: -1\n" + sha,
      head + "  size: 1\n", head + "original: a\\q\n" + sha, head + "original: \n" + sha,
      head + "original: a\n" + sha + "viewer: late\n"};
  for (const std::string& text : bad) {
    std::string error;
    EXPECT_FALSE(ReadManifest(text, error)) << text;
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace vx
