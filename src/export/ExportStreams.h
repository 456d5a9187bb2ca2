// The streams of a recording as an export builds its branches on them, and the elements each codec needs.
#pragma once

#include <gst/gst.h>

#include <optional>
#include <string>
#include <vector>

namespace vx {

struct ExportStream {
  enum class Kind { Video, Audio };
  Kind kind = Kind::Video;
  std::string padName;   // the demuxer's pad: "video_0" front, "video_1" rear, "audio_0"
  std::string caps;      // the media type: "video/x-h264", "image/jpeg", "audio/mpeg", "audio/x-raw"
  int width = 0;
  int height = 0;
};

struct RecordingStreams {
  bool avi = false;  // RIFF AVI; else ISO base media (MP4/MOV)
  std::vector<ExportStream> streams;  // in the file's order
  const ExportStream* Find(const char* padName) const;
};

// The streams of the recording at `path` as its demuxer announces them; nothing with `error` set when the
// file cannot be read or holds no video.
std::optional<RecordingStreams> ProbeRecording(const std::string& path, std::string& error);

// The parser that puts a stream into the form a muxer or decoder takes ("identity" where none is needed),
// and the decoder of its codec.
const char* ParserFor(const std::string& caps);
const char* DecoderFor(const std::string& caps);

// A new element of `factory` added to `bin`, named `name` when given; null when GStreamer has no such element.
GstElement* AddElement(GstBin* bin, const char* factory, const char* name = nullptr);

// Links the chain in order; false at the first pair that does not link.
bool LinkChain(std::initializer_list<GstElement*> chain);

// The source of a recording's pieces: one AVI file through its demuxer, or MP4 files one after the other
// through splitmuxsrc. The returned element gives the demuxer's pads ("video_0", …) as they appear.
GstElement* AddPieceSource(GstBin* bin, const std::vector<std::string>& files, bool avi, std::string& error);

}  // namespace vx
