// The recording graph on card-maker files: layouts, failures, the component check, telemetry,
// and the pictures it hands to the views and to grabs (stretched, never erased, rows top-down).
#include <unistd.h>

#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "EngineFixture.h"
#include "core/engine/GraphLayout.h"
#include "core/telemetry/layouts/Vx880Telemetry.h"
#include "engine/CCameraSource.h"

namespace vx::test {
namespace {

// Every layout the card maker writes: opening the file that is open builds its graph anew, its elements
// are added in the layout's order and cue the first frame, and the source hands out the file's telemetry
// with the engine's option.
TEST_F(EngineTest, EveryOpenBuildsAFreshGraphOfItsLayoutWithTheFilesTelemetry) {
  m_engine.SetTelemetryOption(false);
  const struct {
    const char* file;
    const char* options;
    int videoStreams;
    int audioCount;  // as the layout counts it: 0 none, 1 compressed, 1000 PCM
  } cases[] = {{"one-aac.MP4", "--streams 1", 1, 1}, {"two-aac.MP4", "--streams 2", 2, 1},
               {"one-pcm.AVI", "--streams 1", 1, 1000}, {"two-pcm.AVI", "--streams 2", 2, 1000},
               {"two-h264.AVI", "--streams 2 --codec h264", 2, 1000},
               {"one-silent.MP4", "--streams 1 --audio none", 1, 0},
               {"bare.AVI", "--streams 1 --no-telemetry", 1, 1000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = CardFile(c.file, std::string(c.options) + " --seconds 2");
    ASSERT_EQ(m_engine.Open(path), 1);
    GWeakRef first;
    g_weak_ref_init(&first, Recording().Pipeline());
    ASSERT_EQ(m_engine.Open(path), 1);
    GstPtr<GstElement> stillThere = Adopt(static_cast<GstElement*>(g_weak_ref_get(&first)));
    g_weak_ref_clear(&first);
    EXPECT_FALSE(stillThere);
    std::vector<std::string> expected, added;
    for (const GraphStep& step : GraphLayout(c.videoStreams, c.audioCount)) expected.push_back(step.name);
    for (GList* child = GST_BIN_CHILDREN(GST_BIN(Recording().Pipeline())); child; child = child->next)
      added.insert(added.begin(), GST_ELEMENT_NAME(child->data));  // the bin keeps its newest child first
    EXPECT_EQ(added, expected);
    EXPECT_EQ(Recording().VideoStreamCount(), c.videoStreams);
    EXPECT_EQ(Recording().State(), EngineState::Stopped);
    QImage front, rear;
    EXPECT_EQ(m_engine.GrabFrame(0, front), 1);
    EXPECT_EQ(m_engine.GrabFrame(1, rear), c.videoStreams == 2 ? 1 : 0);
    const TelemetryTrack telemetry = Vx880TrackOf(*Recording().TelemetrySource());
    const bool hasTelemetry = std::string(c.options).find("--no-telemetry") == std::string::npos;
    EXPECT_EQ(std::pair(telemetry.accel.empty(), telemetry.gps.empty()), std::pair(!hasTelemetry, !hasTelemetry));
    EXPECT_EQ(CCameraSource::From(Named(kSourceName).get())->Option(), 0u);
  }
}

// A graph that cannot be completed never reads as opened: the window would skip nothing and play nothing.
TEST_F(EngineTest, FailedOpensAnswerZeroAndLeaveNoRecording) {
  const std::string junk = MediaDir() + "/junk.MP4";
  std::ofstream(junk) << "this is no recording";
  const std::string video = "videotestsrc num-buffers=15 ! x264enc ! h264parse ! mux. ";
  EXPECT_EQ(m_engine.Open(""), 0);
  for (const std::string& path :
       {MediaDir() + "/missing.MP4", junk, CardFile("cut.MP4", "--streams 2 --seconds 2 --cut 0.6"),
        MuxedFile("audio-only.MP4", "audiotestsrc num-buffers=40 ! voaacenc ! mux."),
        MuxedFile("three-videos.MP4", video + video + video)}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(m_engine.Open(path), 0);
    EXPECT_EQ(m_engine.Recording(), nullptr);
  }

  // The picture decoder of Motion JPEG taken out of the registry, as on a machine without it.
  GstRegistry* registry = gst_registry_get();
  GstPtr<GstPluginFeature> decoder = Adopt(gst_registry_lookup_feature(registry, "jpegdec"));
  ASSERT_TRUE(decoder);
  gst_registry_remove_feature(registry, decoder.get());
  const int opened = m_engine.Open(CardFile("one-pcm.AVI", "--streams 1 --seconds 2"));
  gst_registry_add_feature(registry, decoder.get());
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(m_engine.Recording(), nullptr);
  EXPECT_EQ(m_engine.Open(CardFile("one-pcm.AVI", "--streams 1 --seconds 2")), 1);
}

// Which group a missing element fails is the core check's business; here the engine asks its lookup, and
// refuses everything without windows.
TEST(ComponentCheck, AsksTheEnginesLookupAndNeedsWindows) {
  CNrvVideoView front;
  CPlaybackEngine withoutAac([](const std::string& name) { return name != "avdec_aac"; });
  withoutAac.AttachWindows(&front, nullptr);
  EXPECT_EQ(withoutAac.CheckComponents(), -3);
  CPlaybackEngine real;
  real.AttachWindows(&front, nullptr);
  EXPECT_EQ(real.CheckComponents(), 1);

  CPlaybackEngine windowless;
  EXPECT_EQ(windowless.CheckComponents(), -1);
  EXPECT_EQ(windowless.Open(CardFile("one-aac.MP4", "--streams 1 --seconds 2")), 0);
  QImage picture;
  EXPECT_EQ(windowless.GrabFrame(0, picture), 0);
  EXPECT_TRUE(picture.isNull());
}

// The front picture of an AVI recording's first frame as gst-launch decodes it on its own, losslessly kept.
QImage ReferencePicture(const std::string& path) {
  const std::string png = MediaDir() + "/reference-" + std::to_string(getpid()) + ".png";
  const std::string command = "gst-launch-1.0 -q filesrc location=" + path + " ! avidemux ! jpegdec ! " +
                              "videoconvert ! pngenc snapshot=true ! filesink location=" + png;
  const QImage picture = std::system(command.c_str()) == 0 ? QImage(QString::fromStdString(png)) : QImage();
  std::remove(png.c_str());
  return picture.convertToFormat(QImage::Format_RGB32);
}

// Grabs hand out the decoded pictures top row first, and each view shows its stream stretched over the view.
TEST_F(EngineTest, GrabsAndViewsShowTheDecodedPictureTopRowFirst) {
  const std::string path = CardFile("two-pcm.AVI", "--streams 2 --seconds 2");
  ASSERT_EQ(m_engine.Open(path), 1);
  QImage front, rear, untouched;
  ASSERT_EQ(m_engine.GrabFrame(0, front), 1);
  const QImage reference = ReferencePicture(path);
  ASSERT_EQ(reference.size(), QSize(1280, 720));
  ASSERT_FALSE(reference == reference.mirrored()) << "the picture must differ from top to bottom";
  EXPECT_TRUE(front == reference);
  ASSERT_EQ(m_engine.GrabFrame(1, rear), 1);
  EXPECT_EQ(rear.size(), QSize(640, 360));
  EXPECT_EQ(m_engine.GrabFrame(2, untouched), 0);
  EXPECT_TRUE(untouched.isNull());

  QCoreApplication::processEvents();
  EXPECT_EQ(m_rear.Frame().Size(), QSize(640, 360));
  const QImage shown = m_front.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), m_front.size());
  // Each corner of the view shows (about: the scaled picture samples a neighbour) the picture's own corner.
  const int w = shown.width() - 1, h = shown.height() - 1, fw = reference.width() - 1, fh = reference.height() - 1;
  for (const auto& [view, picture] : {std::pair{QPoint(0, 0), QPoint(0, 0)}, {QPoint(w, 0), QPoint(fw, 0)},
                                      {QPoint(0, h), QPoint(0, fh)}, {QPoint(w, h), QPoint(fw, fh)}}) {
    const QColor a = shown.pixelColor(view), b = reference.pixelColor(picture);
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
  const QImage before = canvas.toImage();
  view.render(&canvas, QPoint(), QRegion(), QWidget::RenderFlags());
  EXPECT_EQ(canvas.toImage(), before);
}

}  // namespace
}  // namespace vx::test
