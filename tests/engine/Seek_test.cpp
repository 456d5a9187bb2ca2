// Seeking as the window relies on it: exact paused positions, one seek per call, the end, errors.
#include <random>

#include "EngineFixture.h"

namespace vx::test {
namespace {

class PausedSeekTest : public EngineTest, public ::testing::WithParamInterface<const char*> {
 protected:
  int Open() { return m_engine.Open(CardFile(GetParam(), "--streams 2 --seconds 4")); }
  // Counts the seek events that reach the demuxer inside the camera source. They arrive on its source pads;
  // the file-side pad sees its own, pulled reads only.
  void CountSeeksAtTheDemuxer() {
    GstPtr<GstElement> demuxer = Named("demuxer");
    ASSERT_TRUE(demuxer);
    const auto count = [](GstPad*, GstPadProbeInfo* info, gpointer seeks) {
      if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_SEEK) ++*static_cast<int*>(seeks);
      return GST_PAD_PROBE_OK;
    };
    for (GList* pad = GST_ELEMENT_PADS(demuxer.get()); pad; pad = pad->next)
      if (GST_PAD_IS_SRC(pad->data))
        gst_pad_add_probe(GST_PAD(pad->data), GST_PAD_PROBE_TYPE_EVENT_UPSTREAM, count, &m_nSeeksAtDemuxer, nullptr);
  }
  int m_nSeeksAtDemuxer = 0;
};

// The window reads the position right after every seek; a position that lags or jumps to the end
// there ends the recording early or moves the slider backwards.
TEST_P(PausedSeekTest, EveryPositionQueryRightAfterASeekAnswersItsTarget) {
  ASSERT_EQ(Open(), 1);
  ASSERT_EQ(Recording().Pause(), S_OK);
  CountSeeksAtTheDemuxer();
  const RefTime duration = Duration();
  std::mt19937 random(20261207);
  std::uniform_int_distribution<RefTime> anywhere(0, duration - 1);
  constexpr int kSeeks = 200;
  for (int i = 0; i < kSeeks; ++i) {
    const RefTime target = anywhere(random);
    ASSERT_EQ(Recording().SetPosition(target), S_OK);
    ASSERT_EQ(Position(), target) << "seek " << i;
  }
  EXPECT_EQ(m_nSeeksAtDemuxer, kSeeks) << "each call must reach the demuxer exactly once";
}

// The end of every stream after a seek carries that seek's number: playing on from a seek still ends.
TEST_P(PausedSeekTest, PlayingOnFromASeekReachesTheEnd) {
  ASSERT_EQ(Open(), 1);
  ASSERT_EQ(Recording().Run(), S_OK);
  ASSERT_EQ(Recording().SetPosition(Duration() - 5'000'000), S_OK);
  EXPECT_TRUE(PlayToEnd());
}

INSTANTIATE_TEST_SUITE_P(CardFiles, PausedSeekTest, ::testing::Values("seek.MP4", "seek.AVI"));

TEST_F(EngineTest, PlayAfterASpeedChangeFromStoppedStartsWhereTheRecordingStands) {
  const std::string path = CardFile("three-aac.MP4", "--streams 2 --seconds 3");
  for (int run = 0; run < 20; ++run) {
    SCOPED_TRACE(run);
    ASSERT_EQ(m_engine.Open(path), 1);
    ASSERT_EQ(m_engine.ChangeRate(2.0f), 1);
    ASSERT_EQ(Recording().Run(), S_OK);
    EXPECT_LT(Position(), Duration() / 2);
  }
}

TEST_F(EngineTest, AnErrorWhilePlayingEndsTheRecordingAndALaterSeekPlaysAgain) {
  ASSERT_EQ(m_engine.Open(CardFile("three-aac.MP4", "--streams 2 --seconds 3")), 1);
  ASSERT_EQ(Recording().Run(), S_OK);
  GstPtr<GstElement> decoder = Named("FFDShow Decoder1");
  ASSERT_TRUE(decoder);
  GError* error = g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE, "injected decoding error");
  gst_element_post_message(decoder.get(), gst_message_new_error(GST_OBJECT(decoder.get()), error, "test"));
  g_error_free(error);
  EXPECT_EQ(Position(), Duration());
  EXPECT_EQ(Position(), Duration()) << "the end stays until the next seek";
  ASSERT_EQ(Recording().Pause(), S_OK);
  ASSERT_EQ(m_engine.SeekMs(1000), 1);
  EXPECT_EQ(Position(), 10'000'000);
}

// The pipeline posts the end of a segment once every sink has ended, which can come after the next seek
// began; a seek back from the end made right away plays on.
TEST_F(EngineTest, ASeekRightAfterTheEndIsNotTakenForTheEnd) {
  ASSERT_EQ(m_engine.Open(CardFile("three-aac.MP4", "--streams 2 --seconds 3")), 1);
  ASSERT_EQ(Recording().Run(), S_OK);
  for (int run = 0; run < 20; ++run) {
    SCOPED_TRACE(run);
    ASSERT_EQ(Recording().SetPosition(Duration()), S_OK);
    ASSERT_EQ(Position(), Duration());
    ASSERT_EQ(Recording().SetPosition(Duration() / 2), S_OK);
    EXPECT_LT(Position(), Duration());
  }
}

}  // namespace
}  // namespace vx::test
