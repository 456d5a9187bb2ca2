// A front file played with its rear partner file as one two-stream recording, and recordings in MOV and TS.
#include <filesystem>
#include <fstream>
#include <utility>

#include "EngineFixture.h"

namespace vx::test {
namespace {

// The front of every pair here: 2 s of one video stream.
const char* const kPairStem = "20261206_090000_N";

class PairedFilesTest : public EngineTest {
 protected:
  // The position of channel 0 or 1 in milliseconds as its own renderer reports it: each stream by itself.
  double StreamPositionMs(int channel) {
    gint64 ns = -1;
    gst_element_query_position(Recording().Renderer(channel)->Element(), GST_FORMAT_TIME, &ns);
    return static_cast<double>(ns) / 1e6;
  }
  bool IsBlue(int channel) {
    QImage picture;
    if (m_engine.GrabFrame(channel, picture) != 1) return false;
    const QColor centre = picture.pixelColor(picture.width() / 2, picture.height() / 2);
    return centre.blue() > 200 && centre.red() < 60 && centre.green() < 60;
  }
};

TEST_F(PairedFilesTest, PlaysThePartnerAsTheRearStreamOnTheFrontsClock) {
  // The rear is longer than the front and of another size: the front still sets the duration and the end.
  const auto [front, rear] = FrontRearPair(kPairStem, 2, 3);
  ASSERT_EQ(m_engine.Open(front, rear), 1);
  EXPECT_EQ(Recording().VideoStreamCount(), 2);
  QImage frontPicture, rearPicture;
  ASSERT_EQ(m_engine.GrabFrame(0, frontPicture), 1);
  ASSERT_EQ(m_engine.GrabFrame(1, rearPicture), 1);
  EXPECT_EQ(rearPicture.size(), QSize(320, 240));
  EXPECT_NE(frontPicture.size(), rearPicture.size());
  EXPECT_TRUE(IsBlue(1));
  EXPECT_FALSE(IsBlue(0));
  EXPECT_EQ(m_engine.GetDurationMs(), 2000);

  ASSERT_EQ(Recording().Pause(), S_OK);
  ASSERT_EQ(m_engine.SeekMs(1000), 1);
  EXPECT_EQ(StreamPositionMs(0), 1000);
  EXPECT_NEAR(StreamPositionMs(1), 1000, 40);  // within a frame: the seek reached both files

  ASSERT_EQ(m_engine.SeekMs(0), 1);
  ASSERT_EQ(m_engine.ChangeRate(2.0f), 1);
  ASSERT_EQ(Recording().Run(), S_OK);
  EXPECT_NEAR(Speed(400 * GST_MSECOND), 2.0, 0.3);
  EXPECT_NEAR(StreamPositionMs(1), StreamPositionMs(0), 100);  // the rear keeps up with the front
  RefTime highest = 0;
  ASSERT_TRUE(PlayToEnd(&highest));
  EXPECT_LE(highest, 20'000'000);
}

// The partner never stops or fails the front: the front plays to its end, the rear view stays empty (no
// file to read) or keeps the rear's last picture (a shorter file).
TEST_F(PairedFilesTest, APartnerThatIsMissingDamagedOrShorterLeavesTheFrontPlaying) {
  const std::string junk = MediaDir() + "/pair-rear-junk.MP4";
  std::ofstream(junk) << "this is no recording";
  const auto [front, whole] = FrontRearPair(kPairStem, 2, 3);
  const std::string cut = MediaDir() + "/pair-rear-cut.MP4";
  std::filesystem::copy_file(whole, cut, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::resize_file(cut, std::filesystem::file_size(whole) / 2);  // its index was written last
  const struct {
    const char* what;
    std::string partner;
    int streams;
  } cases[] = {{"missing", MediaDir() + "/no-such-rear.MP4", 1},
               {"no recording", junk, 1},
               {"cut short", cut, 1},
               {"shorter", PatternFile("pair-rear-short.MP4", "blue", 1), 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(m_engine.Open(front, c.partner), 1);
    EXPECT_EQ(Recording().VideoStreamCount(), c.streams);
    ASSERT_EQ(m_engine.ChangeRate(2.0f), 1);
    ASSERT_EQ(Recording().Run(), S_OK);
    ASSERT_TRUE(PlayToEnd());
    // The front's own stream reached its last frame: the recording ended, it did not fail.
    EXPECT_GE(StreamPositionMs(0), 1900);
    EXPECT_EQ(IsBlue(1), c.streams == 2);
  }
}

TEST_F(EngineTest, PlaysMovAndTransportStreamFiles) {
  for (const auto& [name, muxer] : {std::pair{"clip.MOV", "qtmux"}, {"clip.TS", "mpegtsmux"}}) {
    SCOPED_TRACE(name);
    // A busy picture: a transport stream tells its duration from clock references far enough apart.
    ASSERT_EQ(m_engine.Open(PatternFile(name, "snow", 1, muxer)), 1);
    EXPECT_EQ(Recording().VideoStreamCount(), 1);
    EXPECT_NEAR(static_cast<double>(m_engine.GetDurationMs()), 1000, 100);  // TS: estimated from clock references
    ASSERT_EQ(Recording().Run(), S_OK);
    EXPECT_TRUE(PlayToEnd());
  }
}

}  // namespace
}  // namespace vx::test
