// The video views and picture grabs: stretched, never erased, rows top-down as the decoder made them.
#include <gst/app/gstappsink.h>

#include <QPixmap>

#include "EngineFixture.h"

namespace vx::test {
namespace {

// The first picture of a recording as a plain GStreamer pipeline decodes and converts it to BGRx.
QImage ReferencePicture(const std::string& path, const char* demux, const char* decode) {
  const std::string description = "filesrc location=" + path + " ! " + demux + " ! " + decode +
                                  " ! videoconvert ! video/x-raw,format=BGRx ! appsink name=sink";
  GstPtr<GstElement> pipeline = Retain(gst_parse_launch(description.c_str(), nullptr));
  GstPtr<GstElement> sink = Adopt(gst_bin_get_by_name(GST_BIN(pipeline.get()), "sink"));
  gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
  GstPtr<GstSample> sample = Adopt(gst_app_sink_try_pull_preroll(GST_APP_SINK(sink.get()), 5 * GST_SECOND));
  GstVideoInfo info;
  GstVideoFrame frame;
  QImage picture;
  if (sample && gst_video_info_from_caps(&info, gst_sample_get_caps(sample.get())) &&
      gst_video_frame_map(&frame, &info, gst_sample_get_buffer(sample.get()), GST_MAP_READ)) {
    picture = QImage(static_cast<const uchar*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)), info.width, info.height,
                     GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0), QImage::Format_RGB32)
                  .copy();
    gst_video_frame_unmap(&frame);
  }
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  return picture;
}

TEST_F(EngineTest, GrabFrameGivesTheDecodedPictureTopRowFirst) {
  const std::string path = CardFile("two-pcm.AVI", "--streams 2 --seconds 2");
  ASSERT_EQ(m_engine.Open(path), 1);
  QImage front, rear, untouched;
  ASSERT_EQ(m_engine.GrabFrame(0, front), 1);
  const QImage reference = ReferencePicture(path, "avidemux", "jpegdec");
  ASSERT_EQ(reference.size(), QSize(1280, 720));
  ASSERT_FALSE(reference == reference.mirrored()) << "the picture must differ from top to bottom";
  EXPECT_TRUE(front == reference);
  ASSERT_EQ(m_engine.GrabFrame(1, rear), 1);
  EXPECT_EQ(rear.size(), QSize(640, 360));
  EXPECT_EQ(m_engine.GrabFrame(2, untouched), 0);
  EXPECT_TRUE(untouched.isNull());
}

TEST_F(EngineTest, ViewsShowTheirStreamStretchedOverTheWholeView) {
  ASSERT_EQ(m_engine.Open(CardFile("two-aac.MP4", "--streams 2 --seconds 2")), 1);
  QCoreApplication::processEvents();
  EXPECT_EQ(m_front.Frame().Size(), QSize(1280, 720));
  EXPECT_EQ(m_rear.Frame().Size(), QSize(640, 360));
  const QImage shown = m_front.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), m_front.size());
  const QImage frame = CFrameConverter().Convert(m_front.Frame());
  // Each corner of the view shows (about: the scaled picture samples a neighbour) the picture's own corner.
  const int w = shown.width() - 1, h = shown.height() - 1, fw = frame.width() - 1, fh = frame.height() - 1;
  for (const auto& [view, picture] : {std::pair{QPoint(0, 0), QPoint(0, 0)}, {QPoint(w, 0), QPoint(fw, 0)},
                                      {QPoint(0, h), QPoint(0, fh)}, {QPoint(w, h), QPoint(fw, fh)}}) {
    const QColor a = shown.pixelColor(view), b = frame.pixelColor(picture);
    EXPECT_LT(std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()), 100)
        << view.x() << "," << view.y();
  }
}

TEST(NrvVideoView, NeverErasesOrPaintsWithoutAPicture) {
  CNrvVideoView view;
  view.resize(64, 48);
  EXPECT_TRUE(view.testAttribute(Qt::WA_OpaquePaintEvent));
  EXPECT_FALSE(view.autoFillBackground());
  QPixmap canvas(64, 48);
  canvas.fill(Qt::red);
  view.render(&canvas, QPoint(), QRegion(), QWidget::RenderFlags());
  EXPECT_EQ(canvas.toImage().pixelColor(10, 10), QColor(Qt::red));
  EXPECT_EQ(canvas.toImage().pixelColor(63, 47), QColor(Qt::red));
}

}  // namespace
}  // namespace vx::test
