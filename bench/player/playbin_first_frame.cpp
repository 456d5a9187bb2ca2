// The smallest program that shows a recording's first video frame: playbin into the named video sink, which
// shows the frame as the pipeline prerolls; it prints that moment (ms on CLOCK_MONOTONIC) and ends there.
#include <gst/gst.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

int main(int argc, char** argv) {
  gst_init(&argc, &argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: playbin_first_frame FILE VIDEO-SINK\n");
    return 2;
  }
  GstElement* playbin = gst_element_factory_make("playbin", nullptr);
  GstElement* sink = gst_element_factory_make(argv[2], nullptr);
  gchar* uri = gst_filename_to_uri(argv[1], nullptr);
  g_object_set(playbin, "uri", uri, "video-sink", sink, nullptr);
  g_free(uri);
  gst_element_set_state(playbin, GST_STATE_PAUSED);
  GstBus* bus = gst_element_get_bus(playbin);
  // A video sink shows its preroll frame before the pipeline reports the preroll done.
  GstMessage* message =
      gst_bus_timed_pop_filtered(bus, 10 * GST_SECOND, GstMessageType(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR));
  if (!message || GST_MESSAGE_TYPE(message) != GST_MESSAGE_ASYNC_DONE) return 1;
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::printf("first video frame shown at %lld.%06ld ms\n",
              static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000, now.tv_nsec % 1'000'000);
  std::fflush(stdout);
  _exit(0);
}
