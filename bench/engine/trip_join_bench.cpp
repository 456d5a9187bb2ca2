// The joins of a three-recording trip: the time from the last picture of one recording to the first of the
// next on the shared clock, both as the sinks schedule them (their pipeline's base time plus their running
// time) and as they arrive, for our engine (the next recording
// prepared and handed over at the end) beside playbin3's own gapless playing (about-to-finish) of the same
// files. Also checks that the first picture after each join is a picture of the next recording, not black.
#include <gst/app/gstappsink.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "BenchCommon.h"
#include "TestMedia.h"

namespace {

using namespace vx;
using namespace vx::bench;

constexpr int kSeconds = 4;
constexpr double kFrameMs = 1000.0 / 30.0;  // the card maker records 30 pictures a second
constexpr double kBlackBrightness = 16.0;   // mean of R, G and B below this is a black picture
constexpr auto kHangGuard = std::chrono::seconds(60);

struct Picture {
  GstClockTime arrival;  // the shared clock when the picture reached the sink
  GstClockTime pts;
  GstClockTime runningTime;  // when the sink was to show it, on its pipeline's running time
  double brightness;     // of the first picture of a recording only, else 0
};

// The recordings follow each other by their names' times, as the camera writes a drive.
std::vector<std::string> TripFiles() {
  std::vector<std::string> files;
  for (const char* name : {"20261206_090000_D01.MP4", "20261206_090004_D02.MP4", "20261206_090008_D03.MP4"})
    files.push_back(test::CardFile(std::string("trip-join-") + name, "--streams 2 --seconds " + std::to_string(kSeconds)));
  return files;
}

GstClockTime Now() {
  GstPtr<GstClock> clock = Adopt(gst_system_clock_obtain());
  return gst_clock_get_time(clock.get());
}

double Brightness(GstSample* sample) {
  const QImage small = CFrameConverter().Convert(CVideoFrame(sample), QSize(16, 9));
  double sum = 0;
  for (int y = 0; y < small.height(); ++y)
    for (int x = 0; x < small.width(); ++x) {
      const QRgb pixel = small.pixel(x, y);
      sum += (qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / 3.0;
    }
  return sum / (small.width() * small.height());
}

// Every picture in arrival order, from any streaming thread.
class CPictureLog {
 public:
  void Add(GstSample* sample) {
    const GstClockTime now = Now();
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    const GstClockTime pts = buffer ? GST_BUFFER_PTS(buffer) : GST_CLOCK_TIME_NONE;
    const bool first = GST_CLOCK_TIME_IS_VALID(pts) && pts < GST_MSECOND * 40;
    const GstClockTime runningTime = gst_segment_to_running_time(gst_sample_get_segment(sample), GST_FORMAT_TIME, pts);
    std::lock_guard lock(m_mutex);
    m_pictures.push_back({now, pts, runningTime, first ? Brightness(sample) : 0.0});
  }
  std::vector<Picture> Pictures() const {
    std::lock_guard lock(m_mutex);
    return m_pictures;
  }

 private:
  mutable std::mutex m_mutex;
  std::vector<Picture> m_pictures;
};

class CRecordingWindow : public IVideoWindow {
 public:
  explicit CRecordingWindow(CPictureLog* log) : m_pLog(log) {}
  void PresentFrame(const CVideoFrame& frame) override {
    if (m_pLog) m_pLog->Add(frame.Sample());
  }
  void RepaintFrame() override {}

 private:
  CPictureLog* m_pLog;
};

struct Join {
  double gapMs;         // between the two pictures' moments on the clock: base time + running time
  double arrivalGapMs;  // between their arrivals, with the machine's wake-up jitter in it
  double brightness;    // of the first picture after the join
};

double Ms(GstClockTimeDiff d) { return static_cast<double>(d) / GST_MSECOND; }

// A join is where the pictures' times start again from the beginning. `baseTimes`: of the pipeline that
// played each recording (one for all when one pipeline played them).
std::vector<Join> Joins(const std::vector<Picture>& pictures, const std::vector<GstClockTime>& baseTimes) {
  std::vector<Join> joins;
  std::size_t recording = 0;
  const auto onClock = [&](const Picture& picture, std::size_t r) {
    return baseTimes[std::min(r, baseTimes.size() - 1)] + picture.runningTime;
  };
  for (std::size_t i = 1; i < pictures.size(); ++i) {
    if (pictures[i].pts >= pictures[i - 1].pts) continue;
    const GstClockTime last = onClock(pictures[i - 1], recording);
    const GstClockTime first = onClock(pictures[i], ++recording);
    joins.push_back({Ms(GST_CLOCK_DIFF(last, first)), Ms(GST_CLOCK_DIFF(pictures[i - 1].arrival, pictures[i].arrival)),
                     pictures[i].brightness});
  }
  return joins;
}

std::vector<Join> Ours(const std::vector<std::string>& files) {
  CPictureLog log;
  CRecordingWindow front(&log);
  CRecordingWindow rear(nullptr);
  CPlaybackEngine engine;
  engine.AttachWindows(&front, &rear);
  std::mutex mutex;
  std::condition_variable handedOver;
  int handOvers = 0;
  engine.SetHandOverListener([&] {
    std::lock_guard lock(mutex);
    ++handOvers;
    handedOver.notify_all();
  });
  if (engine.Open(files[0]) != 1) return {};
  engine.Recording()->Run();
  std::vector<GstClockTime> baseTimes{gst_element_get_base_time(engine.Recording()->Pipeline())};
  for (std::size_t next = 1; next < files.size(); ++next) {
    engine.PrepareNext(files[next]);
    std::unique_lock lock(mutex);
    if (!handedOver.wait_for(lock, kHangGuard, [&] { return handOvers == static_cast<int>(next); })) return {};
    lock.unlock();
    engine.CompleteHandOver();
    baseTimes.push_back(gst_element_get_base_time(engine.Recording()->Pipeline()));
  }
  const auto guard = Clock::now() + kHangGuard;
  for (RefTime position = 0, duration = 1; position < duration && Clock::now() < guard;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    engine.Recording()->GetPosition(position);
    engine.Recording()->GetDuration(duration);
  }
  engine.Close();
  return Joins(log.Pictures(), baseTimes);
}

GstFlowReturn OnPlainSample(GstAppSink* sink, gpointer log) {
  GstPtr<GstSample> sample = Adopt(gst_app_sink_pull_sample(sink));
  if (sample) static_cast<CPictureLog*>(log)->Add(sample.get());
  return GST_FLOW_OK;
}

struct PlainTrip {
  std::vector<std::string> uris;
  std::size_t next = 1;
};

void OnAboutToFinish(GstElement* playbin, gpointer data) {
  auto* trip = static_cast<PlainTrip*>(data);
  if (trip->next < trip->uris.size()) g_object_set(playbin, "uri", trip->uris[trip->next++].c_str(), nullptr);
}

// playbin3 plays the front stream into an appsink and the sound into a synced fakesink (playbin fails on the
// second file of two video streams: its demuxer's second stream is not linked).
std::vector<Join> Plain(const std::vector<std::string>& files) {
  CPictureLog log;
  PlainTrip trip;
  for (const std::string& file : files) {
    GstPtr<gchar> uri(gst_filename_to_uri(file.c_str(), nullptr));
    trip.uris.emplace_back(uri.get());
  }
  GstPtr<GstElement> playbin = Retain(gst_element_factory_make("playbin3", nullptr));
  GstElement* sink = gst_element_factory_make("appsink", nullptr);
  GstAppSinkCallbacks callbacks{};
  callbacks.new_sample = &OnPlainSample;
  gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, &log, nullptr);
  GstPtr<GstClock> clock = Adopt(gst_system_clock_obtain());
  gst_pipeline_use_clock(GST_PIPELINE(playbin.get()), clock.get());
  g_object_set(playbin.get(), "uri", trip.uris[0].c_str(), "video-sink", sink, "audio-sink",
               gst_element_factory_make("fakesink", nullptr), nullptr);
  g_signal_connect(playbin.get(), "about-to-finish", G_CALLBACK(OnAboutToFinish), &trip);
  gst_element_set_state(playbin.get(), GST_STATE_PLAYING);
  WaitForMessage(playbin.get(), GST_MESSAGE_EOS, kHangGuard);
  const GstClockTime baseTime = gst_element_get_base_time(playbin.get());
  gst_element_set_state(playbin.get(), GST_STATE_NULL);
  return Joins(log.Pictures(), {baseTime});
}

double PrintJoins(const std::string& name, const std::vector<Join>& joins) {
  double worst = 0;
  int black = 0;
  for (std::size_t i = 0; i < joins.size(); ++i) {
    const std::string join = name + "_join" + std::to_string(i + 1);
    Print(join + "_gap_ms", joins[i].gapMs);
    Print(join + "_gap_frames", joins[i].gapMs / kFrameMs);
    Print(join + "_arrival_gap_ms", joins[i].arrivalGapMs);
    worst = std::max(worst, joins[i].gapMs / kFrameMs);
    black += joins[i].brightness < kBlackBrightness ? 1 : 0;
  }
  Print(name + "_joins", static_cast<double>(joins.size()));
  Print(name + "_black_first_pictures", black);
  Print(name + "_worst_gap_frames", worst);
  return worst;
}

}  // namespace

int main(int argc, char** argv) {
  const auto app = InitProcess(argc, argv);
  const std::vector<std::string> files = TripFiles();
  Print("recordings", static_cast<double>(files.size()));
  Print("seconds_each", kSeconds);
  Print("frame_interval_ms", kFrameMs);
  const double ours = PrintJoins("ours", Ours(files));
  const double plain = PrintJoins("gstreamer", Plain(files));
  Print("ratio_worst_gap", plain > 0 ? ours / plain : 0);
  return 0;
}
