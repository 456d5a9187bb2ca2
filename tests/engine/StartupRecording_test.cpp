// The recording built at start-up before any window exists: the engine's Open of its path takes it and shows
// it in the engine's views; another path, or a file that does not play, opens as without it.
#include <fstream>

#include "EngineFixture.h"
#include "engine/CStartupRecording.h"

namespace vx::test {
namespace {

TEST_F(EngineTest, OpenTakesTheRecordingBuiltAtStartUpIntoItsViews) {
  const std::string recording = CardFile("startup.MP4", "--streams 2 --seconds 2");
  const std::string other = CardFile("startup-other.AVI", "--streams 2 --seconds 2");
  const std::string junk = MediaDir() + "/startup-junk.MP4";
  std::ofstream(junk) << "this is no recording";
  const struct {
    std::string built;
    std::string opened;
    int result;
  } cases[] = {{recording, recording, 1}, {recording, other, 1}, {junk, junk, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.built + " opened as " + c.opened);
    m_engine.TakeStartupRecording(std::make_shared<CStartupRecording>(c.built, ""));
    ASSERT_EQ(m_engine.Open(c.opened), c.result);
    if (c.result == 0) {
      EXPECT_EQ(m_engine.Recording(), nullptr);
      continue;
    }
    EXPECT_EQ(Recording().FilePath(), c.opened);
    QCoreApplication::processEvents();  // the views take their pictures on their own thread
    EXPECT_FALSE(m_front.Frame().IsNull());  // the views are empty before the first case
    EXPECT_FALSE(m_rear.Frame().IsNull());
    EXPECT_EQ(Position(), 0);
    ASSERT_EQ(Recording().Run(), S_OK);
    EXPECT_GT(Speed(300 * GST_MSECOND), 0.5);  // it plays on its own clock
  }
}

}  // namespace
}  // namespace vx::test
