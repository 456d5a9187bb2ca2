// What GStreamer's discoverer reads back from a written file: its length and streams.
#pragma once

#include <gst/pbutils/pbutils.h>

#include <string>

namespace vx::test {

struct ReadBack {
  double seconds = -1.0;
  int videoStreams = 0;
  int audioStreams = 0;
  int width = 0;
};

inline ReadBack Discover(const std::string& path) {
  ReadBack result;
  GstDiscoverer* discoverer = gst_discoverer_new(10 * GST_SECOND, nullptr);
  gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
  GstDiscovererInfo* info = gst_discoverer_discover_uri(discoverer, uri, nullptr);
  if (info && gst_discoverer_info_get_result(info) == GST_DISCOVERER_OK) {
    result.seconds = static_cast<double>(gst_discoverer_info_get_duration(info)) / GST_SECOND;
    GList* videos = gst_discoverer_info_get_video_streams(info);
    GList* sounds = gst_discoverer_info_get_audio_streams(info);
    result.videoStreams = static_cast<int>(g_list_length(videos));
    result.audioStreams = static_cast<int>(g_list_length(sounds));
    if (videos) result.width = static_cast<int>(gst_discoverer_video_info_get_width(GST_DISCOVERER_VIDEO_INFO(videos->data)));
    gst_discoverer_stream_info_list_free(videos);
    gst_discoverer_stream_info_list_free(sounds);
  }
  if (info) g_object_unref(info);
  g_free(uri);
  g_object_unref(discoverer);
  return result;
}

}  // namespace vx::test
