// Transport of an opened recording: the state table, rates, skips, the end, seeking past the data.
#include <atomic>

#include "EngineFixture.h"

namespace vx::test {
namespace {

const char* const kAvi = "three-pcm.AVI";
const char* const kAviOptions = "--streams 1 --seconds 3";
const char* const kMp4 = "three-aac.MP4";
const char* const kMp4Options = "--streams 2 --seconds 3";

// Time in these tests is the pipeline's running time, read from its own clock: the position is judged
// against the time the pipeline itself keeps, whatever else the machine is doing.
class TransportTest : public EngineTest {
 protected:
  GstClockTime RunningTime() {
    GstPtr<GstClock> clock = Adopt(gst_element_get_clock(Recording().Pipeline()));
    return clock ? gst_clock_get_time(clock.get()) - gst_element_get_base_time(Recording().Pipeline()) : 0;
  }
  // Sleeps on the pipeline's clock for `span` nanoseconds of running time.
  void WaitOnPipelineClock(GstClockTime span) {
    GstPtr<GstClock> clock = Adopt(gst_element_get_clock(Recording().Pipeline()));
    ASSERT_TRUE(clock);
    std::unique_ptr<void, decltype(&gst_clock_id_unref)> id(
        gst_clock_new_single_shot_id(clock.get(), gst_clock_get_time(clock.get()) + span), &gst_clock_id_unref);
    gst_clock_id_wait(id.get(), nullptr);
  }
  // How far the position moves per unit of running time over `span` nanoseconds of it.
  double Speed(GstClockTime span) {
    const GstClockTime startTime = RunningTime();
    const RefTime before = Position();
    WaitOnPipelineClock(span);
    const RefTime after = Position();
    return static_cast<double>(RefTimeToNs(after - before)) /
           static_cast<double>(RunningTime() - startTime);
  }
  // Polls until the recording reports its end, remembering the highest position seen; false when more
  // than `limit` nanoseconds of running time pass first.
  bool PlayToEnd(GstClockTime limit, RefTime& highest) {
    const GstClockTime startTime = RunningTime();
    const RefTime duration = Duration();
    for (;;) {
      const RefTime position = Position();
      highest = std::max(highest, position);
      if (IsAtEnd(position, duration)) return true;
      if (RunningTime() - startTime > limit) return false;
      WaitOnPipelineClock(20 * GST_MSECOND);
    }
  }
};

TEST_F(TransportTest, FollowsTheStateTable) {
  ASSERT_EQ(Recording().State(), EngineState::Closed);
  EXPECT_EQ(Recording().Run(), VFW_E_WRONG_STATE);
  EXPECT_EQ(Recording().Stop(), VFW_E_WRONG_STATE);
  EXPECT_EQ(Recording().Pause(), -1);
  EXPECT_EQ(m_engine.SkipForward(1.0), 0);

  ASSERT_EQ(m_engine.Open(CardFile(kAvi, kAviOptions)), 1);
  EXPECT_EQ(Recording().State(), EngineState::Stopped);
  EXPECT_EQ(Recording().Stop(), VFW_E_WRONG_STATE);
  EXPECT_EQ(m_engine.SkipForward(1.0), 0);
  EXPECT_EQ(m_engine.SkipBack(1.0), 0);
  EXPECT_EQ(Position(), 0);
  EXPECT_EQ(Recording().Run(), S_OK);
  EXPECT_EQ(Recording().State(), EngineState::Running);
  EXPECT_EQ(Recording().Run(), VFW_E_WRONG_STATE);
  EXPECT_EQ(Recording().Pause(), S_OK);
  EXPECT_EQ(Recording().State(), EngineState::Paused);
  EXPECT_EQ(Recording().Stop(), S_OK);
  EXPECT_EQ(Recording().State(), EngineState::Stopped);
  EXPECT_EQ(Recording().Stop(), VFW_E_WRONG_STATE);
}

TEST_F(TransportTest, ReportsDurationInMillisecondsAndPositionInHundredNanoseconds) {
  ASSERT_EQ(m_engine.Open(CardFile(kAvi, kAviOptions)), 1);
  EXPECT_EQ(m_engine.GetDurationMs(), 3000);
  EXPECT_EQ(Duration(), 30'000'000);
  ASSERT_EQ(m_engine.SeekMs(1500), 1);
  EXPECT_EQ(Position(), 15'000'000);
}

TEST_F(TransportTest, RunAtTheEndStartsAgainFromTheBeginning) {
  ASSERT_EQ(m_engine.Open(CardFile(kAvi, kAviOptions)), 1);
  m_engine.ChangeRate(2.0f);
  ASSERT_EQ(Recording().Run(), S_OK);
  RefTime highest = 0;
  ASSERT_TRUE(PlayToEnd(4 * GST_SECOND, highest)) << "the end was never reported";
  EXPECT_EQ(Recording().Pause(), S_OK);
  EXPECT_EQ(Position(), Duration());
  EXPECT_EQ(Recording().Run(), S_OK);
  EXPECT_LT(Position(), 5'000'000);
}

TEST_F(TransportTest, ChangeRateClampsToHalfAndDoubleSpeed) {
  ASSERT_EQ(m_engine.Open(CardFile(kMp4, kMp4Options)), 1);
  ASSERT_EQ(Recording().Run(), S_OK);
  EXPECT_EQ(m_engine.ChangeRate(3.0f), 1);
  EXPECT_EQ(Recording().Rate(), 2.0f);
  EXPECT_EQ(Recording().State(), EngineState::Running);
  EXPECT_NEAR(Speed(700 * GST_MSECOND), 2.0, 0.2);

  EXPECT_EQ(m_engine.ChangeRate(0.2f), 1);
  EXPECT_EQ(Recording().Rate(), 0.5f);
  EXPECT_NEAR(Speed(800 * GST_MSECOND), 0.5, 0.1);

  ASSERT_EQ(Recording().Pause(), S_OK);
  EXPECT_EQ(m_engine.ChangeRate(1.4f), 1);
  EXPECT_EQ(Recording().State(), EngineState::Paused);
  EXPECT_EQ(Recording().Rate(), 1.4f);
  EXPECT_EQ(CPlaybackEngine().ChangeRate(1.0f), 0);
}

// Sound that ignores the rate would end (and post its end) at the running time of normal speed and
// carry the position past the duration.
TEST_F(TransportTest, PcmSoundKeepsTimeAtDoubleRate) {
  ASSERT_EQ(m_engine.Open(CardFile(kAvi, kAviOptions)), 1);
  GstPtr<GstBus> bus = Adopt(gst_element_get_bus(Recording().Pipeline()));
  gst_bus_enable_sync_message_emission(bus.get());
  struct EndSeen {
    GstElement* pipeline;
    std::atomic<GstClockTime> runningTime = GST_CLOCK_TIME_NONE;
  } end{Recording().Pipeline()};
  g_signal_connect(bus.get(), "sync-message::eos", G_CALLBACK(+[](GstBus*, GstMessage*, gpointer data) {
                     auto* seen = static_cast<EndSeen*>(data);
                     GstPtr<GstClock> clock = Adopt(gst_element_get_clock(seen->pipeline));
                     seen->runningTime = gst_clock_get_time(clock.get()) - gst_element_get_base_time(seen->pipeline);
                   }),
                   &end);
  m_engine.ChangeRate(2.0f);
  ASSERT_EQ(Recording().Run(), S_OK);
  RefTime highest = 0;
  ASSERT_TRUE(PlayToEnd(4 * GST_SECOND, highest));
  EXPECT_LE(highest, Duration());
  // The position reaches the duration with the last picture; the end of every stream may follow.
  for (int waited = 0; end.runningTime == GST_CLOCK_TIME_NONE && waited < 50; ++waited)
    WaitOnPipelineClock(20 * GST_MSECOND);
  const GstClockTime expected = static_cast<GstClockTime>(RefTimeToNs(Duration())) / 2;
  EXPECT_GE(end.runningTime + 50 * GST_MSECOND, expected);
  EXPECT_LT(end.runningTime, expected * 4 / 3);
  gst_bus_disable_sync_message_emission(bus.get());
}

TEST_F(TransportTest, SkipsStayInsideTheRecording) {
  ASSERT_EQ(m_engine.Open(CardFile(kAvi, kAviOptions)), 1);
  ASSERT_EQ(Recording().Pause(), S_OK);
  ASSERT_EQ(m_engine.SeekMs(400), 1);
  EXPECT_EQ(m_engine.SkipBack(1.0), 1);
  EXPECT_EQ(Position(), 0);
  EXPECT_EQ(m_engine.SkipForward(1.0), 1);
  EXPECT_EQ(Position(), 10'000'000);
  ASSERT_EQ(m_engine.SeekMs(2500), 1);
  EXPECT_EQ(m_engine.SkipForward(1.0), 1);
  EXPECT_EQ(Position(), Duration());
  EXPECT_EQ(m_engine.SkipBack(1000.0), 1);
  EXPECT_EQ(Position(), 0);
}

TEST_F(TransportTest, ASeekPastTheDataEndsTheRecordingWithoutHanging) {
  ASSERT_EQ(m_engine.Open(CardFile(kMp4, kMp4Options)), 1);
  ASSERT_EQ(Recording().Pause(), S_OK);
  EXPECT_EQ(Recording().SetPosition(Duration() + 50'000'000), S_OK);
  EXPECT_EQ(Position(), Duration());
  EXPECT_EQ(Recording().Run(), S_OK);
  EXPECT_LT(Position(), 5'000'000);
}

TEST_F(TransportTest, RefreshAndRepaintAnswerWithOrWithoutARecording) {
  EXPECT_EQ(CPlaybackEngine().RefreshFrame(), 1);
  EXPECT_EQ(Recording().Repaint(), S_OK);
  EXPECT_EQ(Recording().UpdateVideoWindows(), S_OK);
  ASSERT_EQ(m_engine.Open(CardFile(kMp4, kMp4Options)), 1);
  EXPECT_EQ(m_engine.RefreshFrame(), 1);
  EXPECT_EQ(Recording().UpdateVideoWindows(), S_OK);
}

}  // namespace
}  // namespace vx::test
