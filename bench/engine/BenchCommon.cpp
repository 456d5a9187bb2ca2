// Process set-up, the plain GStreamer reference pipeline and small statistics for the engine benchmarks.
#include "BenchCommon.h"

#include <unistd.h>

#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "TestMedia.h"
#include "engine/CCameraSource.h"

namespace vx::bench {

std::unique_ptr<QApplication> InitProcess(int& argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  gst_init(&argc, &argv);
  RegisterCameraSource();
  return std::make_unique<QApplication>(argc, argv);
}

namespace {

constexpr int kFrontWidth = 640, kFrontHeight = 360;
constexpr int kRearWidth = 320, kRearHeight = 240;

std::string ToSize(const char* method, int width, int height) {
  if (!method) return "";
  return std::string(" ! videoconvert ! videoscale method=") + method + " ! video/x-raw,format=BGRx,width=" +
         std::to_string(width) + ",height=" + std::to_string(height);
}

bool Exposed(const QWidget& view) { return view.windowHandle() && view.windowHandle()->isExposed(); }

}  // namespace

CViewer::CViewer(bool shown) {
  front.resize(kFrontWidth, kFrontHeight);
  rear.resize(kRearWidth, kRearHeight);
  rear.move(kFrontWidth + 20, 0);
  front.setVisible(shown);
  rear.setVisible(shown);
  for (const auto start = Clock::now(); shown && !(Exposed(front) && Exposed(rear)) &&
                                        Clock::now() - start < std::chrono::seconds(5);)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  engine.AttachWindows(&front, &rear);
}

std::string DemoRecording(int seconds, const char* extension) {
  return test::CardFile("bench-two-" + std::to_string(seconds) + "s." + extension,
                        "--streams 2 --seconds " + std::to_string(seconds));
}

GstPtr<GstElement> PlainPipeline(const std::string& path, bool sync, const char* viewScaling) {
  const std::string sink = std::string(" ! fakesink sync=") + (sync ? "true" : "false");
  const std::string front = ToSize(viewScaling, kFrontWidth, kFrontHeight);
  const std::string rear = ToSize(viewScaling, kRearWidth, kRearHeight);
  const bool avi = path.ends_with(".AVI");
  // The decoders as our graph sets them up: avdec_h264 on one thread, whose frame threading would hold more
  // pictures (≈ 14 MB more while playing) and delay each seek's picture by a frame per thread.
  const std::string video = avi ? " ! jpegdec" : " ! h264parse ! avdec_h264 max-threads=1";
  const std::string description = "filesrc location=" + path + (avi ? " ! avidemux" : " ! qtdemux") + " name=d " +
                                  "d.video_0 ! queue" + video + front + sink + " name=front " +
                                  "d.video_1 ! queue" + video + rear + sink + " " +
                                  "d.audio_0 ! queue" + (avi ? "" : " ! aacparse ! avdec_aac") + sink;
  return Retain(gst_parse_launch(description.c_str(), nullptr));
}

bool WaitForMessage(GstElement* pipeline, GstMessageType types, std::chrono::milliseconds timeout) {
  GstPtr<GstBus> bus = Adopt(gst_element_get_bus(pipeline));
  const auto filter = GstMessageType(types | GST_MESSAGE_ERROR);
  GstPtr<GstMessage> message = Adopt(
      gst_bus_timed_pop_filtered(bus.get(), static_cast<GstClockTime>(timeout.count()) * GST_MSECOND, filter));
  return message && GST_MESSAGE_TYPE(message.get()) != GST_MESSAGE_ERROR;
}

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double XServerCpuSeconds() {
  const char* display = std::getenv("DISPLAY");
  if (!display || qEnvironmentVariable("QT_QPA_PLATFORM") != "xcb") return 0;
  // ":55" or ":55.0" → /tmp/.X55-lock, which holds the server's pid as text.
  const std::string number = std::string(display).substr(1, std::string(display).find('.', 1) - 1);
  std::ifstream lock("/tmp/.X" + number + "-lock");
  long pid = 0;
  if (!(lock >> pid)) return 0;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  // Fields after the command name (which may hold spaces, hence from the last ')'): state is field 3,
  // utime and stime are fields 14 and 15, in clock ticks.
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  double ticks = 0;
  for (int index = 3; index <= 15 && fields >> field; ++index)
    if (index >= 14) ticks += std::stod(field);
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  double kilobytes = 0;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> kilobytes;
      break;
    }
  }
  return kilobytes / 1024.0;
}

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(index, values.size() - 1)];
}

double Median(std::vector<double> values) { return Percentile(std::move(values), 0.5); }

void Print(const std::string& name, double value) {
  std::printf("%s: %.3f\n", name.c_str(), value);
  std::fflush(stdout);
}

}  // namespace vx::bench
