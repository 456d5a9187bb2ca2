// Transport of an opened recording: the state table, rates, skips, exact paused seeks (one per call), the
// end, errors, seeking past the data, and seeks that are answered late or refused.
#include <atomic>
#include <random>

#include "EngineFixture.h"

namespace vx::test {
namespace {

const char* const kAvi = "three-pcm.AVI";
const char* const kAviOptions = "--streams 1 --seconds 3";
const char* const kMp4 = "three-aac.MP4";
const char* const kMp4Options = "--streams 2 --seconds 3";

// A probe cannot fail an event it takes out of the stream: this one hands on a seek in percent instead, which
// no element of the recording's graph can do, under the same sequence number.
GstPadProbeReturn RefuseSeeks(GstPad*, GstPadProbeInfo* info, gpointer) {
  GstEvent* seek = GST_PAD_PROBE_INFO_EVENT(info);
  if (GST_EVENT_TYPE(seek) != GST_EVENT_SEEK) return GST_PAD_PROBE_OK;
  GstEvent* impossible = gst_event_new_seek(1.0, GST_FORMAT_PERCENT, GST_SEEK_FLAG_FLUSH, GST_SEEK_TYPE_SET,
                                            GST_FORMAT_PERCENT_MAX / 2, GST_SEEK_TYPE_NONE, -1);
  gst_event_set_seqnum(impossible, gst_event_get_seqnum(seek));
  gst_event_unref(seek);
  GST_PAD_PROBE_INFO_DATA(info) = impossible;
  return GST_PAD_PROBE_OK;
}

// Makes every sink of a pipeline refuse the seeks it is handed.
void RefuseSeeksAtTheSinks(GstElement* pipeline) {
  GstPtr<GstIterator> sinks = Adopt(gst_bin_iterate_sinks(GST_BIN(pipeline)));
  const auto refuse = [](const GValue* sink, gpointer) {
    GstPtr<GstPad> pad = Adopt(gst_element_get_static_pad(GST_ELEMENT(g_value_get_object(sink)), "sink"));
    gst_pad_add_probe(pad.get(), GST_PAD_PROBE_TYPE_EVENT_UPSTREAM, &RefuseSeeks, nullptr, nullptr);
  };
  gst_iterator_foreach(sinks.get(), refuse, nullptr);
}

using TransportTest = EngineTest;

// Without a graph (before the first open, and after a teardown with a rate set) every call answers without
// touching GStreamer.
TEST_F(TransportTest, FollowsTheStateTableAndKeepsSeeksAndSkipsInsideTheRecording) {
  // HasGraph, Run, Stop, Pause, SetPosition, SkipForward, Repaint and UpdateVideoWindows, in this order.
  const HRESULT wrong = VFW_E_WRONG_STATE;
  const std::vector<int> refused{false, wrong, wrong, -1, wrong, 0, S_OK, S_OK};
  const auto expectRefusedWithoutAGraph = [&] {
    CRecordingGraph& r = Recording();
    EXPECT_EQ((std::vector<int>{r.HasGraph(), r.Run(), r.Stop(), r.Pause(), r.SetPosition(0),
                                m_engine.SkipForward(1.0), r.Repaint(), r.UpdateVideoWindows()}),
              refused);
  };
  ASSERT_EQ(Recording().State(), EngineState::Closed);
  expectRefusedWithoutAGraph();
  EXPECT_EQ(CPlaybackEngine().RefreshFrame(), 1);
  EXPECT_EQ(CPlaybackEngine().ChangeRate(1.0f), 0);

  ASSERT_EQ(m_engine.Open(CardFile(kAvi, kAviOptions)), 1);
  EXPECT_EQ(Recording().State(), EngineState::Stopped);
  EXPECT_EQ(m_engine.RefreshFrame(), 1);
  EXPECT_EQ(Recording().Stop(), VFW_E_WRONG_STATE);
  EXPECT_EQ(m_engine.SkipForward(1.0), 0);
  EXPECT_EQ(m_engine.SkipBack(1.0), 0);
  EXPECT_EQ(Position(), 0);
  // A call's answer and the state it leaves.
  const auto after = [&](HRESULT answer) { return std::pair(answer, Recording().State()); };
  EXPECT_EQ(after(Recording().Run()), std::pair(S_OK, EngineState::Running));
  EXPECT_EQ(Recording().Run(), VFW_E_WRONG_STATE);
  EXPECT_EQ(after(Recording().Pause()), std::pair(S_OK, EngineState::Paused));
  EXPECT_EQ(after(Recording().Stop()), std::pair(S_OK, EngineState::Stopped));

  // Seeks and skips: the duration in milliseconds, positions in 100 ns units.
  EXPECT_EQ(m_engine.GetDurationMs(), 3000);
  ASSERT_EQ(Recording().Pause(), S_OK);
  ASSERT_EQ(m_engine.SeekMs(1500), 1);
  EXPECT_EQ(Position(), 15'000'000);
  EXPECT_EQ(m_engine.SkipBack(1.0), 1);
  EXPECT_EQ(Position(), 5'000'000);
  EXPECT_EQ(m_engine.SkipForward(1.0), 1);
  EXPECT_EQ(Position(), 15'000'000);

  m_engine.ChangeRate(1.5f);
  Recording().Teardown();
  ASSERT_EQ(Recording().State(), EngineState::Stopped);
  expectRefusedWithoutAGraph();
}

// Play after a speed change from stopped starts where the recording stands, every time; the pipeline
// then really plays at the rate the engine keeps (the clamp is the core rule's), and a change while
// paused stays paused.
TEST_F(TransportTest, PlayAfterASpeedChangeFromStoppedStartsWhereTheRecordingStandsAtThatRate) {
  for (int run = 0; run < 20; ++run) {
    SCOPED_TRACE(run);
    ASSERT_EQ(m_engine.Open(CardFile(kMp4, kMp4Options)), 1);
    ASSERT_EQ(m_engine.ChangeRate(3.0f), 1);
    ASSERT_EQ(Recording().Run(), S_OK);
    EXPECT_LT(Position(), Duration() / 2);
  }
  EXPECT_NEAR(Speed(700 * GST_MSECOND), 2.0, 0.2);
  EXPECT_EQ(m_engine.ChangeRate(0.2f), 1);
  EXPECT_NEAR(Speed(800 * GST_MSECOND), 0.5, 0.1);
  ASSERT_EQ(Recording().Pause(), S_OK);
  EXPECT_EQ(m_engine.ChangeRate(1.4f), 1);
  EXPECT_EQ(std::pair(Recording().State(), Recording().Rate()), std::pair(EngineState::Paused, 1.4f));
}

// Sound that ignores the rate would end (and post its end) at the running time of normal speed and
// carry the position past the duration.
TEST_F(TransportTest, PcmSoundKeepsTimeAtDoubleRate) {
  ASSERT_EQ(m_engine.Open(CardFile(kAvi, kAviOptions)), 1);
  GstPtr<GstBus> bus = Adopt(gst_element_get_bus(Recording().Pipeline()));
  gst_bus_enable_sync_message_emission(bus.get());
  std::atomic<GstClockTime> endTime = GST_CLOCK_TIME_NONE;
  g_signal_connect(bus.get(), "sync-message::eos", G_CALLBACK(+[](GstBus*, GstMessage* eos, gpointer end) {
                     GstElement* pipeline = GST_ELEMENT(GST_MESSAGE_SRC(eos));
                     GstPtr<GstClock> clock = Adopt(gst_element_get_clock(pipeline));
                     *static_cast<std::atomic<GstClockTime>*>(end) =
                         gst_clock_get_time(clock.get()) - gst_element_get_base_time(pipeline);
                   }),
                   &endTime);
  m_engine.ChangeRate(2.0f);
  ASSERT_EQ(Recording().Run(), S_OK);
  RefTime highest = 0;
  ASSERT_TRUE(PlayToEnd(&highest)) << "the end was never reported";
  EXPECT_LE(highest, Duration());
  // The position reaches the duration with the last picture; the end of every stream may follow.
  for (int waited = 0; endTime == GST_CLOCK_TIME_NONE && waited < 50; ++waited)
    WaitOnPipelineClock(20 * GST_MSECOND);
  const GstClockTime expected = static_cast<GstClockTime>(RefTimeToNs(Duration())) / 2;
  EXPECT_GE(endTime + 50 * GST_MSECOND, expected);
  EXPECT_LT(endTime, expected * 4 / 3);
  gst_bus_disable_sync_message_emission(bus.get());
}

// A seek the decoder answers only after the limit fails, yet it was made: the position is the one sought,
// never the end (which would skip the recording, or make Play start again from 0), and the late answer
// is taken when it comes.
TEST_F(TransportTest, ASeekAnsweredAfterTheLimitFailsKeepsItsTargetAndTakesTheLateAnswer) {
  ASSERT_EQ(m_engine.Open(CardFile(kMp4, kMp4Options)), 1);
  ASSERT_EQ(Recording().Pause(), S_OK);
  GstPtr<GstElement> decoder = Named("FFDShow Decoder1");
  ASSERT_TRUE(decoder);
  // A blocking probe holds the decoder's pictures until it is removed; the seek's flush lets go of one
  // held before it, so only the answer waits.
  GstPtr<GstPad> pictures = Adopt(gst_element_get_static_pad(decoder.get(), "src"));
  const gulong hold =
      gst_pad_add_probe(pictures.get(), GstPadProbeType(GST_PAD_PROBE_TYPE_BLOCK | GST_PAD_PROBE_TYPE_BUFFER),
                        [](GstPad*, GstPadProbeInfo*, gpointer) { return GST_PAD_PROBE_OK; }, nullptr, nullptr);
  EXPECT_EQ(m_engine.SeekMs(1500), 0);
  EXPECT_EQ(Position(), 15'000'000);
  gst_pad_remove_probe(pictures.get(), hold);
  ASSERT_EQ(Recording().Run(), S_OK);
  // Playing begins once the late answer is in; the limit only guards against a hang.
  ASSERT_EQ(gst_element_get_state(Recording().Pipeline(), nullptr, nullptr, 10 * GST_SECOND),
            GST_STATE_CHANGE_SUCCESS);
  EXPECT_GE(Position(), 15'000'000) << "play goes on from the sought position";
  EXPECT_TRUE(PlayToEnd());
}

// Front 1 s, sound 3 s: a seek into the sound's tail shows the front's last picture at the sought
// position, and the recording ends with the sound.
TEST_F(TransportTest, ASeekPastAShorterFrontVideoKeepsItsPositionAndEndsWithTheSound) {
  ASSERT_EQ(m_engine.Open(MuxedFile(
                "short-front.MP4",
                "videotestsrc num-buffers=15 ! video/x-raw,width=320,height=240,framerate=15/1 "
                "! x264enc speed-preset=ultrafast bframes=0 key-int-max=15 ! h264parse ! mux.video_0 "
                "audiotestsrc num-buffers=30 samplesperbuffer=4800 ! audio/x-raw,rate=48000,channels=1 "
                "! audioconvert ! voaacenc ! aacparse ! mux.audio_0")),
            1);
  ASSERT_EQ(Recording().Pause(), S_OK);
  ASSERT_EQ(Recording().SetPosition(20'000'000), S_OK);
  EXPECT_EQ(Position(), 20'000'000);
  QImage front;
  EXPECT_EQ(m_engine.GrabFrame(0, front), 1);
  ASSERT_EQ(Recording().Run(), S_OK);
  EXPECT_GE(Position(), 20'000'000);
  EXPECT_TRUE(PlayToEnd());
}

// Counts the seek events that reach the demuxer inside the camera source. They arrive on its source pads; the
// file-side pad sees its own, pulled reads only.
void CountSeeks(GstElement* demuxer, int* seeks) {
  const auto count = [](GstPad*, GstPadProbeInfo* info, gpointer n) {
    if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_SEEK) ++*static_cast<int*>(n);
    return GST_PAD_PROBE_OK;
  };
  for (GList* pad = GST_ELEMENT_PADS(demuxer); pad; pad = pad->next)
    if (GST_PAD_IS_SRC(pad->data))
      gst_pad_add_probe(GST_PAD(pad->data), GST_PAD_PROBE_TYPE_EVENT_UPSTREAM, count, seeks, nullptr);
}

class PausedSeekTest : public EngineTest, public ::testing::WithParamInterface<const char*> {};

// The window reads the position right after every seek; a position that lags or jumps to the end
// there ends the recording early or moves the slider backwards.
TEST_P(PausedSeekTest, EveryPositionQueryRightAfterASeekAnswersItsTargetAndPlayingOnEnds) {
  ASSERT_EQ(m_engine.Open(CardFile(GetParam(), "--streams 2 --seconds 4")), 1);
  ASSERT_EQ(Recording().Pause(), S_OK);
  GstPtr<GstElement> demuxer = Named("demuxer");
  ASSERT_TRUE(demuxer);
  int seeks = 0;
  CountSeeks(demuxer.get(), &seeks);
  const RefTime duration = Duration();
  std::mt19937 random(20261207);
  std::uniform_int_distribution<RefTime> anywhere(0, duration - 1);
  constexpr int kSeeks = 200;
  for (int i = 0; i < kSeeks; ++i) {
    const RefTime target = anywhere(random);
    ASSERT_EQ(Recording().SetPosition(target), S_OK);
    ASSERT_EQ(Position(), target) << "seek " << i;
  }
  EXPECT_EQ(seeks, kSeeks) << "each call must reach the demuxer exactly once";
  // The end of every stream after a seek carries that seek's number: playing on from a seek still ends.
  ASSERT_EQ(Recording().Run(), S_OK);
  ASSERT_EQ(Recording().SetPosition(Duration() - 5'000'000), S_OK);
  EXPECT_TRUE(PlayToEnd());
}

INSTANTIATE_TEST_SUITE_P(CardFiles, PausedSeekTest, ::testing::Values("seek.MP4", "seek.AVI"));

// The end, as the window meets it: a seek past the data ends the recording without hanging and Play then
// starts again from the beginning. The pipeline posts the end of a segment once every sink has ended,
// which can come after the next seek began: a seek back from the end made right away plays on. An error
// ends the recording until a later seek; a seek no sink accepts changes nothing, and the end still comes.
TEST_F(TransportTest, TheEndHoldsUntilASeekAndASeekRightAfterTheEndIsNotTakenForTheEnd) {
  ASSERT_EQ(m_engine.Open(CardFile(kMp4, kMp4Options)), 1);
  ASSERT_EQ(Recording().Pause(), S_OK);
  EXPECT_EQ(Recording().SetPosition(Duration() + 50'000'000), S_OK);
  EXPECT_EQ(Position(), Duration());
  EXPECT_EQ(Recording().Run(), S_OK);
  EXPECT_LT(Position(), 5'000'000);
  for (int run = 0; run < 20; ++run) {
    SCOPED_TRACE(run);
    ASSERT_EQ(Recording().SetPosition(Duration()), S_OK);
    ASSERT_EQ(Position(), Duration());
    ASSERT_EQ(Recording().SetPosition(Duration() / 2), S_OK);
    EXPECT_LT(Position(), Duration());
  }

  GstPtr<GstElement> decoder = Named("FFDShow Decoder1");
  ASSERT_TRUE(decoder);
  GST_ELEMENT_ERROR(decoder.get(), STREAM, DECODE, ("injected decoding error"), ("test"));
  EXPECT_EQ(Position(), Duration());
  EXPECT_EQ(Position(), Duration()) << "the end stays until the next seek";
  ASSERT_EQ(Recording().Pause(), S_OK);
  ASSERT_EQ(m_engine.SeekMs(1000), 1);
  EXPECT_EQ(Position(), 10'000'000);

  ASSERT_EQ(Recording().Run(), S_OK);
  RefuseSeeksAtTheSinks(Recording().Pipeline());
  EXPECT_EQ(Recording().SetPosition(Duration() / 2), E_FAIL);
  EXPECT_TRUE(PlayToEnd()) << "the end was never reported";
}

}  // namespace
}  // namespace vx::test
