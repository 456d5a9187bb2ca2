// The pictures the views show: scaled like GStreamer's own bilinear conversion, for every raw format a
// camera file may give, at any view size and region, and never blank after the view changes.
#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "TestMedia.h"
#include "WaitUntil.h"
#include "engine/CFrameScaler.h"
#include "engine/CNrvVideoView.h"

namespace vx::test {
namespace {

// The picture that `pipeline` (ending in "appsink name=sink") prerolls, after `push` fed its appsrc "src".
CVideoFrame Prerolled(const std::string& pipeline, const CVideoFrame& push = {}) {
  GstPtr<GstElement> bin = Retain(gst_parse_launch(pipeline.c_str(), nullptr));
  if (!bin) return {};
  GstPtr<GstElement> sink = Adopt(gst_bin_get_by_name(GST_BIN(bin.get()), "sink"));
  GstPtr<GstElement> source = Adopt(gst_bin_get_by_name(GST_BIN(bin.get()), "src"));
  if (source) g_object_set(source.get(), "caps", gst_sample_get_caps(push.Sample()), "format", GST_FORMAT_TIME, nullptr);
  gst_element_set_state(bin.get(), GST_STATE_PAUSED);
  if (source) gst_app_src_push_buffer(GST_APP_SRC(source.get()), gst_buffer_ref(gst_sample_get_buffer(push.Sample())));
  GstPtr<GstSample> sample = Adopt(gst_app_sink_try_pull_preroll(GST_APP_SINK(sink.get()), 10 * GST_SECOND));
  gst_element_set_state(bin.get(), GST_STATE_NULL);
  return CVideoFrame(sample.get());
}

std::string Size(QSize size) { return std::to_string(size.width()) + "x" + std::to_string(size.height()); }

struct Difference {
  double mean[3] = {};     // per channel
  double beyondTwelve = 0;  // share of the pixels with a channel more than 12 levels apart
  int largest = 255;        // 255 also for pictures of different sizes
};

Difference Compare(const QImage& a, const QImage& b) {
  Difference d;
  if (a.size() != b.size() || a.isNull()) return d;
  d.largest = 0;
  const double pixels = double(a.width()) * a.height();
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      int pixel = 0;
      for (const int channel : {0, 1, 2}) {
        const int delta = std::abs(int(a.pixel(x, y) >> 8 * channel & 0xff) - int(b.pixel(x, y) >> 8 * channel & 0xff));
        d.mean[channel] += delta / pixels;
        pixel = std::max(pixel, delta);
      }
      d.beyondTwelve += (pixel > 12) / pixels;
      d.largest = std::max(d.largest, pixel);
    }
  return d;
}

// A decoded camera picture (H.264 in BT.709 video range, Motion JPEG in full range) in each raw format,
// scaled to each view size: within 2 levels per channel on average of videoconvert ! videoscale
// method=bilinear, whether libyuv scales it or the fallback converter does. Both are bilinear, but
// videoscale samples at another phase (at exactly half size it keeps every other pixel where libyuv
// averages pairs): single pixels at the sharp edges of the overlay text differ by up to ~250 levels, as
// they do between videoscale and GStreamer's own converter; only a few percent may be more than 12 apart.
TEST(FrameScaler, MatchesGStreamersBilinearConversion) {
  const std::string h264 = "filesrc location=" + CardFile("scaler-one.MP4", "--streams 1 --seconds 1") +
                           " ! qtdemux ! h264parse ! avdec_h264";
  const std::string mjpeg = "filesrc location=" + CardFile("scaler-one.AVI", "--streams 1 --seconds 1") +
                            " ! avidemux ! jpegdec";
  CFrameScaler scaler;
  for (const auto& [decoder, format] : {std::pair{h264, "I420"}, {mjpeg, "I420"}, {h264, "NV12"}, {h264, "NV21"},
                                        {h264, "YV12"}, {mjpeg, "Y42B"}, {h264, "Y444"}, {h264, "YUY2"}}) {
    const CVideoFrame frame =
        Prerolled(decoder + " ! videoconvert ! video/x-raw,format=" + format + " ! appsink name=sink");
    ASSERT_FALSE(frame.IsNull()) << decoder << format;
    for (const QSize size : {QSize(640, 360), QSize(320, 240), QSize(333, 187), QSize(1600, 900)}) {
      const CVideoFrame reference =
          Prerolled("appsrc name=src ! videoconvert ! videoscale method=bilinear ! video/x-raw,format=BGRx,width=" +
                        std::to_string(size.width()) + ",height=" + std::to_string(size.height()) + " ! appsink name=sink",
                    frame);
      const Difference d = Compare(scaler.Scale(frame, {}, size), CFrameConverter().Convert(reference));
      for (const double mean : d.mean) EXPECT_LE(mean, 2.0) << decoder << " " << format << " to " << Size(size);
      EXPECT_LE(d.beyondTwelve, 0.05) << decoder << " " << format << " to " << Size(size) << ", largest " << d.largest;
    }
  }
}

// A picture of `picture`'s size in `format` (caps fields may follow), all of one colour (`argb`), and that colour
// as GStreamer converts it.
std::pair<CVideoFrame, QRgb> UniformFrame(const std::string& format, QSize picture,
                                          const std::string& argb = "0xff3366cc") {
  const CVideoFrame frame = Prerolled("videotestsrc num-buffers=1 pattern=solid-color foreground-color=" + argb + " ! "
                                      "video/x-raw,format=" + format + ",width=" + std::to_string(picture.width()) +
                                      ",height=" + std::to_string(picture.height()) + " ! appsink name=sink");
  const QImage colour = CFrameConverter().Convert(frame, {1, 1});
  return {frame, colour.isNull() ? 0 : colour.pixel(0, 0)};
}

QImage Filled(QRgb colour, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// GStreamer's converter rounds differently on its SIMD path and on the general one very narrow pictures
// take: the same colour comes out up to this many levels apart.
constexpr int kRounding = 6;

// Halving a checkerboard of single pixels (red and green) averages each pair: one even colour unlike
// either square, where nearest-neighbour scaling would keep one of the two squares everywhere.
TEST(FrameScaler, HalvesAOnePixelCheckerboardIntoOneMixedColour) {
  const CVideoFrame frame =
      Prerolled("videotestsrc num-buffers=1 pattern=checkers-1 ! video/x-raw,format=I420,width=64,height=32 ! "
                "appsink name=sink");
  const QImage full = CFrameConverter().Convert(frame);
  const QImage half = CFrameScaler().Scale(frame, {}, {32, 16});
  ASSERT_FALSE(full.isNull() || half.isNull());
  EXPECT_LE(Compare(half, Filled(half.pixel(0, 0), half.size())).largest, kRounding);
  for (const int x : {0, 1})
    EXPECT_GT(Compare(half, Filled(full.pixel(x, 0), half.size())).largest, 12) << "square " << x;
}

// Odd picture sizes with padded rows, views of one pixel, views larger than the picture and regions at the
// picture's far edges each give the picture's colour at the asked size, with every colour matrix and range
// (run under the sanitizers: nothing is read outside the planes).
TEST(FrameScaler, OddSizesAndRegionsGiveThePictureWithinItsPlanes) {
  const PictureRegion regions[] = {{}, {0.9, 0.9, 0.1, 0.1}, {1, 1, 0, 0}, {0.3, 0, 0.01, 1}};
  CFrameScaler scaler;
  for (const std::string format : {"I420", "I420,colorimetry=bt709", "I420,colorimetry=1:4:0:0",
                                   "I420,colorimetry=bt2020", "YV12", "NV12", "NV21", "Y42B", "Y444", "YUY2", "RGBx"})
    for (const QSize picture : {QSize(33, 17), QSize(1, 1), QSize(2, 3)}) {
      // YUY2 colours pixel pairs: videotestsrc leaves the half pair of an odd width uncoloured.
      if (format == "YUY2" && picture.width() % 2) continue;
      const auto [frame, colour] = UniformFrame(format, picture);
      for (const QSize size : {QSize(1, 1), QSize(1, 40), QSize(40, 1), QSize(33, 17), QSize(100, 61)})
        for (const PictureRegion& region : regions)
          EXPECT_LE(Compare(scaler.Scale(frame, region, size), Filled(colour, size)).largest, kRounding)
              << format << " " << Size(picture) << " to " << Size(size) << " from " << region.x << "," << region.y;
    }
}

// An image handed in to be reused is written over only when it has the size asked and no other holder:
// a copy held elsewhere (a view painting it) keeps its pixels.
TEST(FrameScaler, WritesOverAReusedImageOnlyWhenItFitsAndIsNotShared) {
  const auto [frame, colour] = UniformFrame("I420", {64, 36});
  const QImage stale = Filled(qRgb(1, 2, 3), {32, 18});
  enum class Reuse { Fitting, OtherSize, Shared };
  for (const Reuse reuse : {Reuse::Fitting, Reuse::OtherSize, Reuse::Shared}) {
    QImage handed = reuse == Reuse::OtherSize ? Filled(qRgb(1, 2, 3), {33, 18}) : stale.copy();
    const QImage heldElsewhere = reuse == Reuse::Shared ? handed : QImage();
    const uchar* const pixels = handed.constBits();
    const QImage scaled = CFrameScaler().Scale(frame, {}, {32, 18}, std::move(handed));
    EXPECT_LE(Compare(scaled, Filled(colour, {32, 18})).largest, kRounding) << static_cast<int>(reuse);
    EXPECT_EQ(scaled.constBits() == pixels, reuse == Reuse::Fitting) << static_cast<int>(reuse);
    if (reuse == Reuse::Shared) {
      EXPECT_EQ(heldElsewhere, stale);
    }
  }
}

// While the next picture is scaled on a streaming thread the view goes on showing the last one whole:
// the next is written into an image the view no longer shows, picture after picture.
TEST(NrvVideoView, NeverWritesTheNextPictureOverTheOneItShows) {
  const std::pair<CVideoFrame, QRgb> pictures[] = {UniformFrame("I420", {64, 36}),
                                                   UniformFrame("I420", {64, 36}, "0xffcc6633")};
  ASSERT_NE(pictures[0].second, pictures[1].second);
  CNrvVideoView view;
  view.resize(64, 36);
  view.show();
  const auto shows = [&view](QRgb colour) {
    return Compare(view.grab().toImage().convertToFormat(QImage::Format_RGB32), Filled(colour, view.size())).largest <=
           kRounding;
  };
  for (int index = 0; index < 6; ++index) {
    const auto& [frame, colour] = pictures[index % 2];
    // Handed over but not yet taken by the window thread, which still shows the one before.
    std::thread([&view, frame = frame] { view.PresentFrame(frame); }).join();
    if (index > 0) {
      EXPECT_TRUE(shows(pictures[(index + 1) % 2].second)) << "picture " << index;
    }
    EXPECT_TRUE(WaitUntil([&] { return shows(colour); })) << "picture " << index;
  }
}

// A view lets go of a picture as soon as a newer one is handed to it, before its window thread takes the
// newer one: the decoder gets its picture back instead of making one more.
TEST(NrvVideoView, HoldsOnlyTheNewestPicture) {
  const CVideoFrame older = UniformFrame("I420", {64, 36}).first;
  const CVideoFrame newer = UniformFrame("I420", {64, 36}, "0xffcc6633").first;
  for (const bool shown : {true, false}) {
    CNrvVideoView view;
    view.resize(64, 36);
    view.setVisible(shown);
    std::thread([&] { view.PresentFrame(older); }).join();
    ASSERT_TRUE(WaitUntil([&] { return view.Frame().Sample() == older.Sample(); }));
    std::thread([&] { view.PresentFrame(newer); }).join();
    EXPECT_EQ(GST_MINI_OBJECT_REFCOUNT_VALUE(older.Sample()), 1) << "shown " << shown;
    EXPECT_EQ(view.Frame().Sample(), newer.Sample());
  }
}

// A picture handed over on another thread shows over the whole view, also after the view grew or was
// hidden when it came.
TEST(NrvVideoView, ShowsThePictureAtItsSizeAfterResizesAndWhileHidden) {
  const auto [frame, colour] = UniformFrame("I420", {64, 36});
  enum class Then { Nothing, Resize, ShowAgain };
  for (const Then then : {Then::Nothing, Then::Resize, Then::ShowAgain}) {
    CNrvVideoView view;
    view.resize(64, 36);
    view.setVisible(then != Then::ShowAgain);
    std::thread([&] { view.PresentFrame(frame); }).join();
    ASSERT_TRUE(WaitUntil([&] { return !view.Frame().IsNull(); }));
    if (then == Then::Resize) view.resize(101, 57);
    view.show();
    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_LE(Compare(shown, Filled(colour, view.size())).largest, kRounding) << static_cast<int>(then);
  }
}

}  // namespace
}  // namespace vx::test
