// The pictures the views show: scaled like GStreamer's own bilinear conversion, for every raw format a
// camera file may give, at any view size and region, and never blank after the view changes.
#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <cstdlib>
#include <thread>

#include "TestMedia.h"
#include "WaitUntil.h"
#include "engine/CFrameScaler.h"
#include "engine/CNrvVideoView.h"

namespace vx::test {
namespace {

// The one picture that `pipeline` (ending in "appsink name=sink") prerolls.
CVideoFrame PrerolledFrame(const std::string& pipeline) {
  GstPtr<GstElement> bin = Retain(gst_parse_launch(pipeline.c_str(), nullptr));
  if (!bin) return {};
  GstPtr<GstElement> sink = Adopt(gst_bin_get_by_name(GST_BIN(bin.get()), "sink"));
  gst_element_set_state(bin.get(), GST_STATE_PAUSED);
  GstPtr<GstSample> sample = Adopt(gst_app_sink_try_pull_preroll(GST_APP_SINK(sink.get()), 10 * GST_SECOND));
  const CVideoFrame frame(sample.get());
  gst_element_set_state(bin.get(), GST_STATE_NULL);
  return frame;
}

// `frame` through videoconvert ! videoscale method=bilinear to BGRx at `size`: GStreamer's own picture.
QImage GStreamerBilinear(const CVideoFrame& frame, QSize size) {
  const std::string pipeline = "appsrc name=src ! videoconvert ! videoscale method=bilinear ! "
                               "video/x-raw,format=BGRx,width=" + std::to_string(size.width()) +
                               ",height=" + std::to_string(size.height()) + " ! appsink name=sink";
  GstPtr<GstElement> bin = Retain(gst_parse_launch(pipeline.c_str(), nullptr));
  GstPtr<GstElement> source = Adopt(gst_bin_get_by_name(GST_BIN(bin.get()), "src"));
  GstPtr<GstElement> sink = Adopt(gst_bin_get_by_name(GST_BIN(bin.get()), "sink"));
  g_object_set(source.get(), "caps", gst_sample_get_caps(frame.Sample()), "format", GST_FORMAT_TIME, nullptr);
  gst_element_set_state(bin.get(), GST_STATE_PAUSED);
  gst_app_src_push_buffer(GST_APP_SRC(source.get()), gst_buffer_ref(gst_sample_get_buffer(frame.Sample())));
  GstPtr<GstSample> sample = Adopt(gst_app_sink_try_pull_preroll(GST_APP_SINK(sink.get()), 10 * GST_SECOND));
  QImage image;
  GstMapInfo map;
  if (sample && gst_buffer_map(gst_sample_get_buffer(sample.get()), &map, GST_MAP_READ)) {
    image = QImage(map.data, size.width(), size.height(), size.width() * 4, QImage::Format_RGB32).copy();
    gst_buffer_unmap(gst_sample_get_buffer(sample.get()), &map);
  }
  gst_element_set_state(bin.get(), GST_STATE_NULL);
  return image;
}

struct Difference {
  double mean[3] = {};     // per channel, over every pixel
  double beyondTwelve = 0;  // share of the pixels with a channel more than 12 levels apart
  int largest = 0;
};

Difference Compare(const QImage& a, const QImage& b) {
  Difference d;
  double sums[3] = {};
  int beyond = 0;
  for (int y = 0; y < a.height(); ++y) {
    const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const auto* rowB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    for (int x = 0; x < a.width(); ++x) {
      int pixel = 0;
      for (const int channel : {0, 1, 2}) {
        const int shift = 8 * channel;
        const int delta = std::abs(int(rowA[x] >> shift & 0xff) - int(rowB[x] >> shift & 0xff));
        sums[channel] += delta;
        pixel = std::max(pixel, delta);
      }
      beyond += pixel > 12;
      d.largest = std::max(d.largest, pixel);
    }
  }
  const double pixels = double(a.width()) * a.height();
  for (const int channel : {0, 1, 2}) d.mean[channel] = sums[channel] / pixels;
  d.beyondTwelve = beyond / pixels;
  return d;
}

// A decoded camera picture (H.264 in BT.709 video range, Motion JPEG in full range), given in each raw
// format, scaled to each view size: within 2 levels of GStreamer's bilinear conversion on average in every
// channel, whether libyuv scales it or the fallback converter does. Both scale bilinearly, but videoscale
// takes its samples at another phase (at exactly half size it keeps every other pixel where libyuv
// averages pairs), so single pixels at the sharp edges of the overlay text differ by up to ~250 levels, as
// they do between videoscale and GStreamer's own converter; only a few percent of pixels may be more than
// 12 apart.
TEST(FrameScaler, MatchesGStreamersBilinearConversion) {
  const std::string h264 = "filesrc location=" + CardFile("scaler-one.MP4", "--streams 1 --seconds 1") +
                           " ! qtdemux ! h264parse ! avdec_h264";
  const std::string mjpeg = "filesrc location=" + CardFile("scaler-one.AVI", "--streams 1 --seconds 1") +
                            " ! avidemux ! jpegdec";
  const struct {
    const std::string& decoder;
    const char* format;  // null: as decoded
  } sources[] = {{h264, nullptr}, {mjpeg, nullptr}, {h264, "NV12"}, {h264, "NV21"}, {h264, "YV12"},
                 {mjpeg, "Y42B"}, {h264, "Y444"}, {h264, "YUY2"}};
  const QSize sizes[] = {{640, 360}, {320, 240}, {333, 187}, {1600, 900}};
  CFrameScaler scaler;
  for (const auto& source : sources) {
    const std::string format = source.format ? std::string(" ! videoconvert ! video/x-raw,format=") + source.format : "";
    const CVideoFrame frame = PrerolledFrame(source.decoder + format + " ! appsink name=sink");
    ASSERT_FALSE(frame.IsNull()) << source.decoder << format;
    for (const QSize size : sizes) {
      const QImage ours = scaler.Scale(frame, {}, size);
      const QImage reference = GStreamerBilinear(frame, size);
      ASSERT_EQ(ours.size(), size);
      ASSERT_EQ(reference.size(), size);
      const Difference d = Compare(ours, reference);
      for (const double mean : d.mean)
        EXPECT_LE(mean, 2.0) << source.decoder << format << " at " << size.width() << "x" << size.height();
      EXPECT_LE(d.beyondTwelve, 0.05) << source.decoder << format << " at " << size.width() << "x" << size.height()
                                      << ", largest " << d.largest;
    }
  }
}

// A picture of `width` x `height` in `format` (caps fields may follow it), all of one colour.
CVideoFrame UniformFrame(const char* format, int width, int height) {
  return PrerolledFrame("videotestsrc num-buffers=1 pattern=solid-color foreground-color=0xff3366cc ! "
                        "video/x-raw,format=" + std::string(format) + ",width=" + std::to_string(width) +
                        ",height=" + std::to_string(height) + " ! appsink name=sink");
}

// The largest difference of any channel of any pixel from `colour`; 255 for a picture of the wrong size.
int LargestFromColour(const QImage& image, QSize size, QRgb colour) {
  if (image.size() != size) return 255;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  int largest = 0;
  for (int y = 0; y < rgb.height(); ++y)
    for (int x = 0; x < rgb.width(); ++x)
      for (const int shift : {0, 8, 16})
        largest = std::max(largest, std::abs(int(rgb.pixel(x, y) >> shift & 0xff) - int(colour >> shift & 0xff)));
  return largest;
}

// GStreamer's converter rounds differently on its SIMD path and on the general one that very narrow
// pictures take: the same colour comes out up to this many levels apart.
constexpr int kRounding = 6;

// The colour of a uniform frame as GStreamer converts it at its own size.
QRgb GStreamersColour(const CVideoFrame& frame) { return CFrameConverter().Convert(frame).pixel(0, 0); }

// Odd picture sizes with padded rows, views of one pixel, views larger than the picture and regions at the
// picture's far edges: each gives the picture's colour at the asked size (run under the sanitizers, nothing
// is read outside the planes).
TEST(FrameScaler, OddSizesAndRegionsGiveThePictureWithinItsPlanes) {
  const QSize sizes[] = {{1, 1}, {1, 40}, {40, 1}, {33, 17}, {100, 61}};
  const PictureRegion regions[] = {{}, {0.9, 0.9, 0.1, 0.1}, {1, 1, 0, 0}, {0.3, 0, 0.01, 1}};
  CFrameScaler scaler;
  for (const char* format : {"I420", "I420,colorimetry=bt709", "I420,colorimetry=1:4:0:0", "I420,colorimetry=bt2020",
                             "YV12", "NV12", "NV21", "Y42B", "Y444", "YUY2", "RGBx"})
    for (const QSize picture : {QSize(33, 17), QSize(1, 1), QSize(2, 3)}) {
      // YUY2 keeps colour per pixel pair: videotestsrc leaves the half pair of an odd width uncoloured.
      if (std::string(format) == "YUY2" && picture.width() % 2) continue;
      const CVideoFrame frame = UniformFrame(format, picture.width(), picture.height());
      ASSERT_FALSE(frame.IsNull()) << format;
      const QRgb colour = GStreamersColour(frame);
      for (const QSize size : sizes)
        for (const PictureRegion& region : regions)
          EXPECT_LE(LargestFromColour(scaler.Scale(frame, region, size), size, colour), kRounding)
              << format << " " << picture.width() << "x" << picture.height() << " to " << size.width() << "x"
              << size.height() << " from " << region.x << "," << region.y;
    }
}

// A picture handed over on another thread shows over the whole view, and still does after the view grew
// or was hidden while it came.
TEST(NrvVideoView, ShowsThePictureAtItsSizeAfterResizesAndWhileHidden) {
  const CVideoFrame frame = UniformFrame("I420", 64, 36);
  ASSERT_FALSE(frame.IsNull());
  enum class Then { Nothing, Resize, ShowAgain };
  for (const Then then : {Then::Nothing, Then::Resize, Then::ShowAgain}) {
    CNrvVideoView view;
    view.resize(64, 36);
    view.setVisible(then != Then::ShowAgain);
    std::thread([&] { view.PresentFrame(frame); }).join();
    ASSERT_TRUE(WaitUntil([&] { return !view.Frame().IsNull(); }));
    if (then == Then::Resize) view.resize(101, 57);
    view.show();
    EXPECT_LE(LargestFromColour(view.grab().toImage(), view.size(), GStreamersColour(frame)), kRounding) << static_cast<int>(then);
  }
}

}  // namespace
}  // namespace vx::test
