// Transport of an opened recording: the state table, rates, skips, the end, seeking past the data.
#include <chrono>
#include <thread>

#include "EngineFixture.h"

namespace vx::test {
namespace {

using Clock = std::chrono::steady_clock;

const char* const kAvi = "three-pcm.AVI";
const char* const kAviOptions = "--streams 1 --seconds 3";
const char* const kMp4 = "three-aac.MP4";
const char* const kMp4Options = "--streams 2 --seconds 3";

class TransportTest : public EngineTest {
 protected:
  // How far the position moves per second of wall time while the recording runs for `wall`.
  double Speed(std::chrono::milliseconds wall) {
    const RefTime before = Position();
    const auto start = Clock::now();
    std::this_thread::sleep_for(wall);
    const RefTime after = Position();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return static_cast<double>(after - before) / kRefTimePerSecond / seconds;
  }
  // Polls until the recording reports its end; the wall time it took, or -1 after `limit`.
  double PlayToEnd(double limit, RefTime& highest) {
    const auto start = Clock::now();
    const RefTime duration = Duration();
    for (;;) {
      const RefTime position = Position();
      highest = std::max(highest, position);
      const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
      if (IsAtEnd(position, duration)) return seconds;
      if (seconds > limit) return -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
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
  ASSERT_GT(PlayToEnd(4.0, highest), 0.0) << "the end was never reported";
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
  EXPECT_NEAR(Speed(std::chrono::milliseconds(700)), 2.0, 0.5);

  EXPECT_EQ(m_engine.ChangeRate(0.2f), 1);
  EXPECT_EQ(Recording().Rate(), 0.5f);
  EXPECT_NEAR(Speed(std::chrono::milliseconds(800)), 0.5, 0.2);

  ASSERT_EQ(Recording().Pause(), S_OK);
  EXPECT_EQ(m_engine.ChangeRate(1.4f), 1);
  EXPECT_EQ(Recording().State(), EngineState::Paused);
  EXPECT_EQ(Recording().Rate(), 1.4f);
  EXPECT_EQ(CPlaybackEngine().ChangeRate(1.0f), 0);
}

TEST_F(TransportTest, PcmSoundKeepsTimeAtDoubleRate) {
  ASSERT_EQ(m_engine.Open(CardFile(kAvi, kAviOptions)), 1);
  m_engine.ChangeRate(2.0f);
  ASSERT_EQ(Recording().Run(), S_OK);
  RefTime highest = 0;
  const double wall = PlayToEnd(4.0, highest);
  EXPECT_GT(wall, 1.2);
  EXPECT_LT(wall, 2.2);
  EXPECT_LE(highest, Duration());
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
  const auto start = Clock::now();
  EXPECT_EQ(Recording().SetPosition(Duration() + 50'000'000), S_OK);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
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
