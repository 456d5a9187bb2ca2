// Single-frame steps forward and back through a paused recording land on the same pictures, in the same
// order, as a plain GStreamer decode of the file gives them; both views follow; the ends stop the steps.
#include <gst/app/gstappsink.h>

#include <QHash>
#include <cstdlib>

#include "EngineFixture.h"
#include "engine/ShownFrameTime.h"

namespace vx::test {
namespace {

struct Picture {
  std::int64_t timeNs;
  std::size_t checksum;
};

std::size_t Checksum(const CVideoFrame& frame) {
  const QImage image = CFrameConverter().Convert(frame);
  return qHashBits(image.constBits(), static_cast<std::size_t>(image.sizeInBytes()));
}

// Every picture of the file's first video stream, decoded by GStreamer alone, in order.
std::vector<Picture> PlainDecode(const std::string& path, const char* demuxer, const char* decoder) {
  const std::string launch = std::string("filesrc location=\"") + path + "\" ! " + demuxer + " name=d d.video_0 ! " +
                             decoder + " ! appsink name=out sync=false";
  GstPtr<GstElement> pipeline = Adopt(gst_parse_launch(launch.c_str(), nullptr));
  GstPtr<GstElement> sink = Adopt(gst_bin_get_by_name(GST_BIN(pipeline.get()), "out"));
  gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
  std::vector<Picture> pictures;
  while (GstPtr<GstSample> sample = Adopt(gst_app_sink_pull_sample(GST_APP_SINK(sink.get())))) {
    pictures.push_back({ShownFrameOf(sample.get()).value_or(ShownFrame{-1, 0}).timeNs, Checksum(CVideoFrame(sample.get()))});
  }
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  return pictures;
}

using FrameStepTest = EngineTest;

TEST_F(FrameStepTest, StepsLandOnConsecutivePicturesBothWaysAndStopAtTheEnds) {
  struct Case {
    const char* file;
    const char* options;
    const char* demuxer;
    const char* decoder;
  };
  // Key frames every 30 pictures: 45 steps cross one each way.
  const Case cases[] = {
      {"step-h264.MP4", "--streams 2 --seconds 2", "qtdemux", "h264parse ! avdec_h264"},
      {"step-mjpeg.AVI", "--streams 2 --seconds 2 --codec mjpeg", "avidemux", "jpegdec"},
  };
  constexpr int kSteps = 45;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = CardFile(c.file, c.options);
    const std::vector<Picture> plain = PlainDecode(path, c.demuxer, c.decoder);
    ASSERT_GT(plain.size(), static_cast<std::size_t>(kSteps));
    ASSERT_EQ(m_engine.Open(path), 1);
    ASSERT_EQ(Recording().Pause(), S_OK);
    const auto expectShowing = [&](std::size_t index) {
      const std::optional<ShownFrame> front = Recording().Renderer(0)->LastFrameTime();
      ASSERT_TRUE(front);
      // Times within a microsecond: a seek may clip a picture by less than the decoder's rounding tells apart.
      EXPECT_LE(std::abs(front->timeNs - plain[index].timeNs), 1000) << "picture " << index;
      EXPECT_EQ(Checksum(CVideoFrame(m_front.Frame())), plain[index].checksum) << "picture " << index;
      EXPECT_LE(std::abs(Position() - NsToRefTime(plain[index].timeNs)), 10) << "picture " << index;
      // The rear view shows its picture of the same moment (both cameras run at the same rate).
      const std::optional<ShownFrame> rear = Recording().Renderer(1)->LastFrameTime();
      ASSERT_TRUE(rear);
      EXPECT_LE(std::abs(rear->timeNs - front->timeNs), 1000) << "picture " << index;
    };
    QCoreApplication::processEvents();
    expectShowing(0);
    EXPECT_EQ(m_engine.StepFrame(false), 0) << "nothing before the first picture";
    for (int i = 1; i <= kSteps; ++i) {
      ASSERT_EQ(m_engine.StepFrame(true), 1) << i;
      QCoreApplication::processEvents();  // the view takes its picture on its own thread
      expectShowing(i);
    }
    for (int i = kSteps - 1; i >= 0; --i) {
      ASSERT_EQ(m_engine.StepFrame(false), 1) << i;
      QCoreApplication::processEvents();
      expectShowing(i);
    }
    // From the last picture, the step back and forth stay on the last two; past it nothing moves. (Positions
    // are in 100 ns: one more unit lands inside the picture whatever the rounding.)
    const std::size_t last = plain.size() - 1;
    ASSERT_EQ(Recording().SetPosition(NsToRefTime(plain[last].timeNs) + 1), S_OK);
    QCoreApplication::processEvents();
    expectShowing(last);
    EXPECT_EQ(m_engine.StepFrame(true), 0) << "nothing after the last picture";
    ASSERT_EQ(m_engine.StepFrame(false), 1);
    ASSERT_EQ(m_engine.StepFrame(true), 1);
    QCoreApplication::processEvents();
    expectShowing(last);
    // Playing again from a stepped picture carries on from it; steps are refused while playing.
    ASSERT_EQ(Recording().Run(), S_OK);
    EXPECT_EQ(m_engine.StepFrame(true), 0);
    EXPECT_GE(Position(), NsToRefTime(plain[last - 1].timeNs));
    m_engine.Close();
  }
}

}  // namespace
}  // namespace vx::test
