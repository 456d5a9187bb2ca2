// The smallest program that shows a recording's first video frame: playbin, exit at its first frame.
#include <gst/gst.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
  gst_init(&argc, &argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: playbin_first_frame FILE\n");
    return 2;
  }
  GstElement* playbin = gst_element_factory_make("playbin", nullptr);
  GstElement* sink = gst_element_factory_make("fakesink", nullptr);
  gchar* uri = gst_filename_to_uri(argv[1], nullptr);
  g_object_set(sink, "signal-handoffs", TRUE, nullptr);
  g_object_set(playbin, "uri", uri, "video-sink", sink, nullptr);
  g_free(uri);
  // Prerolling hands the first frame to the sink; the program ends there.
  g_signal_connect(sink, "preroll-handoff", G_CALLBACK(+[](GstElement*, GstBuffer*, GstPad*, gpointer) { _exit(0); }),
                   nullptr);
  gst_element_set_state(playbin, GST_STATE_PAUSED);
  GstBus* bus = gst_element_get_bus(playbin);
  gst_bus_timed_pop_filtered(bus, 10 * GST_SECOND, GST_MESSAGE_ERROR);
  return 1;
}
