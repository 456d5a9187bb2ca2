// Single-frame steps on a paused 1280x720 H.264 recording: forward and back through our engine, timed from
// the call to the new picture at the front renderer, beside the same decoders alone doing a step event
// forward and an accurate seek to the previous picture back, timed to the picture at their front sink. Then
// the paused picture zoomed and moved: each new region scaled for the view, beside GStreamer's converter.
#include <condition_variable>
#include <mutex>

#include "BenchCommon.h"
#include "core/player/FrameStep.h"
#include "engine/CFrameScaler.h"

namespace {

using namespace vx;
using namespace vx::bench;

constexpr int kSteps = 200;
constexpr int kSeconds = 20;
constexpr RefTime kStart = 30'000'000;  // 3 s in, so that steps back never reach the first picture

struct Latencies {
  std::vector<double> forward;
  std::vector<double> back;
  std::vector<double> zoomOurs;   // a zoomed view's new region scaled for painting, as a wheel or drag asks
  std::vector<double> zoomPlain;  // the same by GStreamer's own bilinear converter
};

// The paused front picture shown zoomed at 1.5x to 8x about ever-moving centres, as wheel turns and drags
// ask for it: each new region is scaled at the view's size on the window's thread before it is painted.
void TimeZoomRepaints(const CVideoFrame& frame, QSize view, Latencies& ms) {
  CFrameScaler scaler;
  CFrameConverter converter;
  for (int i = 0; i < kSteps; ++i) {
    const double side = 1.0 / (1.5 + 6.5 * (i % 20) / 19.0);
    const double x = (1.0 - side) * ((i * 7) % 20) / 19.0;
    const double y = (1.0 - side) * ((i * 13) % 20) / 19.0;
    const PictureRegion region{x, y, side, side};
    auto start = Clock::now();
    scaler.Scale(frame, region, view);
    ms.zoomOurs.push_back(Milliseconds(Clock::now() - start));
    start = Clock::now();
    converter.Convert(frame, view, region);
    ms.zoomPlain.push_back(Milliseconds(Clock::now() - start));
  }
}

Latencies Ours(const std::string& path) {
  CViewer viewer;
  CPlaybackEngine& engine = viewer.engine;
  engine.Open(path);
  engine.Recording()->Pause();
  engine.Recording()->SetPosition(kStart);
  Latencies ms;
  for (auto [forward, times] : {std::pair{true, &ms.forward}, {false, &ms.back}}) {
    for (int i = 0; i < kSteps; ++i) {
      const auto start = Clock::now();
      if (engine.StepFrame(forward) != 1) std::fprintf(stderr, "step_bench: a step did not move\n");
      times->push_back(Milliseconds(Clock::now() - start));
      QCoreApplication::processEvents();  // the views take their pictures as the window would
    }
  }
  TimeZoomRepaints(viewer.front.Frame(), viewer.front.size(), ms);
  return ms;
}

// The pictures prerolled by the plain pipeline's front sink: how many, and the time of the last.
struct FrontPictures {
  std::mutex mutex;
  std::condition_variable arrived;
  int count = 0;
  ShownFrame last;

  static void OnPreroll(GstElement*, GstBuffer* buffer, GstPad* pad, gpointer self) {
    auto* pictures = static_cast<FrontPictures*>(self);
    GstPtr<GstEvent> segmentEvent = Adopt(gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0));
    const GstSegment* segment = nullptr;
    if (segmentEvent) gst_event_parse_segment(segmentEvent.get(), &segment);
    std::lock_guard lock(pictures->mutex);
    pictures->last = {static_cast<std::int64_t>(segment ? gst_segment_to_stream_time(segment, GST_FORMAT_TIME,
                                                                                   GST_BUFFER_PTS(buffer))
                                                        : GST_BUFFER_PTS(buffer)),
                      FrameDurationNs(GST_BUFFER_DURATION_IS_VALID(buffer) ? GST_BUFFER_DURATION(buffer) : -1, 30, 1)};
    ++pictures->count;
    pictures->arrived.notify_all();
  }
  // Sends `event` to `sink` and waits for the picture it brings.
  void Await(GstElement* sink, GstEvent* event) {
    std::unique_lock lock(mutex);
    const int before = count;
    lock.unlock();
    gst_element_send_event(sink, event);
    lock.lock();
    if (!arrived.wait_for(lock, std::chrono::seconds(5), [&] { return count > before; }))
      std::fprintf(stderr, "step_bench: no picture from plain GStreamer\n");
  }
  ShownFrame Last() {
    std::lock_guard lock(mutex);
    return last;
  }
};

bool CarriesVideo(GstElement* sink) {
  GstPtr<GstPad> pad = Adopt(gst_element_get_static_pad(sink, "sink"));
  GstPtr<GstCaps> caps = Adopt(pad ? gst_pad_get_current_caps(pad.get()) : nullptr);
  return caps && !gst_caps_is_empty(caps.get()) &&
         g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps.get(), 0)), "video/");
}

// One picture on every sink but `front`, a picture's time on the sound's: as everywhere, a sink left paused
// on its sample blocks the demuxer once the queues before it are full.
void StepTheOtherSinks(GstElement* pipeline, GstElement* front, std::int64_t pictureNs) {
  GstPtr<GstIterator> sinks = Adopt(gst_bin_iterate_sinks(GST_BIN(pipeline)));
  GValue item = G_VALUE_INIT;
  while (gst_iterator_next(sinks.get(), &item) == GST_ITERATOR_OK) {
    auto* sink = GST_ELEMENT(g_value_get_object(&item));
    if (sink != front) {
      gst_element_send_event(sink, CarriesVideo(sink) ? gst_event_new_step(GST_FORMAT_BUFFERS, 1, 1.0, TRUE, FALSE)
                                                      : gst_event_new_step(GST_FORMAT_TIME, static_cast<guint64>(pictureNs),
                                                                           1.0, TRUE, FALSE));
    }
    g_value_reset(&item);
  }
  g_value_unset(&item);
}

Latencies Plain(const std::string& path) {
  GstPtr<GstElement> pipeline = PlainPipeline(path, true);
  GstPtr<GstElement> front = Adopt(gst_bin_get_by_name(GST_BIN(pipeline.get()), "front"));
  FrontPictures pictures;
  g_object_set(front.get(), "signal-handoffs", TRUE, nullptr);
  g_signal_connect(front.get(), "preroll-handoff", G_CALLBACK(&FrontPictures::OnPreroll), &pictures);
  gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
  WaitForMessage(pipeline.get(), GST_MESSAGE_ASYNC_DONE, std::chrono::seconds(5));
  const auto accurateSeek = [](std::int64_t ns) {
    return gst_event_new_seek(1.0, GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                              GST_SEEK_TYPE_SET, ns, GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE);
  };
  pictures.Await(front.get(), accurateSeek(RefTimeToNs(kStart)));
  Latencies ms;
  for (int i = 0; i < kSteps; ++i) {
    const auto start = Clock::now();
    StepTheOtherSinks(pipeline.get(), front.get(), pictures.Last().durationNs);
    pictures.Await(front.get(), gst_event_new_step(GST_FORMAT_BUFFERS, 1, 1.0, TRUE, FALSE));
    ms.forward.push_back(Milliseconds(Clock::now() - start));
  }
  for (int i = 0; i < kSteps; ++i) {
    const auto start = Clock::now();
    pictures.Await(front.get(), accurateSeek(*PreviousFrameSeekTime(pictures.Last())));
    ms.back.push_back(Milliseconds(Clock::now() - start));
  }
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  return ms;
}

void PrintLatency(const std::string& name, const std::vector<double>& ms) {
  Print(name + "_p50_ms", Percentile(ms, 0.5));
  Print(name + "_p95_ms", Percentile(ms, 0.95));
  Print(name + "_p99_ms", Percentile(ms, 0.99));
}

}  // namespace

int main(int argc, char** argv) {
  const auto app = InitProcess(argc, argv);
  const std::string path = DemoRecording(kSeconds, "MP4");
  Print("steps_each", kSteps);
  const Latencies ours = Ours(path);
  const Latencies plain = Plain(path);
  PrintLatency("ours_forward", ours.forward);
  PrintLatency("gstreamer_forward", plain.forward);
  PrintLatency("ours_back", ours.back);
  PrintLatency("gstreamer_back", plain.back);
  Print("ratio_forward_p95", Percentile(ours.forward, 0.95) / Percentile(plain.forward, 0.95));
  Print("ratio_back_p95", Percentile(ours.back, 0.95) / Percentile(plain.back, 0.95));
  PrintLatency("ours_zoom_repaint", ours.zoomOurs);
  PrintLatency("gstreamer_zoom_repaint", ours.zoomPlain);
  Print("display_interval_ms", 1000.0 / 60);
  Print("ratio_zoom_repaint_p95", Percentile(ours.zoomOurs, 0.95) / Percentile(ours.zoomPlain, 0.95));
  return 0;
}
