// The re-encoding export: front and rear decoded, laid out, the facts written on each frame, one MP4.
//
//   source ─video_0─ queue ─ parse ─ decode ─ videoconvert ─────────────── compositor ─┐
//          └video_1─ queue ─ parse ─ decode ─ videoconvert ─ (pip / side) ─┘            │
//   ┌──────────────────────────────────────────────────────────────────────────────────┘
//   └ videoconvert ─ textoverlay ─ x264enc ─ h264parse ─[gate]─ mp4mux ─ filesink (out.mp4.part)
//          └audio_0─ queue ─ parse ─ decode ─ audioconvert ─ audioresample ─ voaacenc ─[gate]─┘
//
// [gate]: nothing from before the seek to the span, and no flush, reaches the muxer.
// source: splitmuxsrc over the pieces' MP4 files, or filesrc ─ avidemux for an AVI recording.
#include <glib.h>

#include "export/ExportPipelines.h"
#include "export/ExportRun.h"

namespace vx {
namespace {

constexpr int kPipMargin = 16;
constexpr guint kBitrateKbit = 6000;  // 720p at 30 fps with fine detail in the overlay
constexpr guint kKeyInterval = 60;

// The text of each frame, changed on the overlay element from the frame's running time in the export.
struct OverlayUpdater {
  const PipelineJob* job = nullptr;
  GstElement* overlay = nullptr;
  std::string shown;
};

GstPadProbeReturn UpdateOverlay(GstPad* pad, GstPadProbeInfo* info, gpointer data) {
  auto* updater = static_cast<OverlayUpdater*>(data);
  const GstClockTime pts = GST_BUFFER_PTS(GST_PAD_PROBE_INFO_BUFFER(info));
  const GstPtr<GstEvent> event = Adopt(gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0));
  if (!event || !GST_CLOCK_TIME_IS_VALID(pts)) return GST_PAD_PROBE_OK;
  const GstSegment* segment = nullptr;
  gst_event_parse_segment(event.get(), &segment);
  const GstClockTime running = gst_segment_to_running_time(segment, GST_FORMAT_TIME, pts);
  if (!GST_CLOCK_TIME_IS_VALID(running)) return GST_PAD_PROBE_OK;
  const ExportPlan& plan = *updater->job->plan;
  const auto [piece, mediaMs] = plan.PieceAt(static_cast<std::int64_t>(running / GST_MSECOND));
  const std::size_t index = static_cast<std::size_t>(piece - plan.pieces.data());
  const std::string text = OverlayText(updater->job->overlays[index], mediaMs);
  if (text == updater->shown) return GST_PAD_PROBE_OK;
  updater->shown = text;
  const GstPtr<gchar> markup = Adopt(g_markup_escape_text(text.c_str(), -1));  // the element reads Pango markup
  g_object_set(updater->overlay, "text", markup.get(), nullptr);
  return GST_PAD_PROBE_OK;
}

// queue ─ parse ─ decode for one stream of the source; the last element, or null when one is missing.
GstElement* AddDecodeBranch(CExportRun& run, GstElement* source, const ExportStream& stream) {
  GstElement* queue = AddElement(run.Bin(), "queue");
  GstElement* parse = AddElement(run.Bin(), ParserFor(stream.caps));
  GstElement* decode = AddElement(run.Bin(), DecoderFor(stream.caps));
  if (!LinkChain({queue, parse, decode})) return nullptr;
  run.Route(source, stream.padName, queue);
  return decode;
}

// Places the rear picture on the compositor beside or inside the front one.
void PlaceRear(GstElement* compositor, const ExportStream& front, const ExportStream& rear, RearLayout layout) {
  const GstPtr<GstPad> pad = Adopt(gst_element_get_static_pad(compositor, "sink_1"));
  if (!pad || rear.width <= 0 || rear.height <= 0) return;
  const bool side = layout == RearLayout::SideBySide;
  const int width = side ? (rear.width * front.height / rear.height) & ~1 : (front.width / 3) & ~1;
  const int height = side ? front.height : (rear.height * width / rear.width) & ~1;
  const int x = side ? front.width : front.width - width - kPipMargin;
  g_object_set(pad.get(), "xpos", x, "ypos", side ? 0 : kPipMargin, "width", width, "height", height, nullptr);
}

GstElement* AddOverlay(CExportRun& run) {
  GstElement* overlay = AddElement(run.Bin(), "textoverlay");
  if (!overlay) return nullptr;
  // Outlined, left-aligned lines near the bottom left, above the line where cameras burn in their own stamp;
  // the font scales with the picture (a 640-wide frame gets the size named here).
  g_object_set(overlay, "font-desc", "DejaVu Sans Mono Bold 10", "halignment", 0 /* left */, "valignment",
               1 /* bottom */, "line-alignment", 0 /* left */, "draw-outline", TRUE, "draw-shadow", FALSE,
               "auto-resize", TRUE, "xpad", 16, "ypad", 56, nullptr);
  return overlay;
}

// decoded front (and rear) ─ … ─ textoverlay ─ x264enc ─ h264parse ─ mux; false when an element is missing.
bool BuildVideo(CExportRun& run, GstElement* source, const PipelineJob& job, GstElement* mux,
                OverlayUpdater& updater) {
  const ExportStream* front = job.streams.Find("video_0");
  const ExportStream* rear = job.rear == RearLayout::None ? nullptr : job.streams.Find("video_1");
  GstElement* compositor = AddElement(run.Bin(), "compositor");
  g_object_set(compositor, "background", 1 /* black */, nullptr);
  GstElement* frontEnd = AddDecodeBranch(run, source, *front);
  if (!LinkChain({frontEnd, AddElement(run.Bin(), "videoconvert"), compositor})) return false;
  if (rear) {
    if (!LinkChain({AddDecodeBranch(run, source, *rear), AddElement(run.Bin(), "videoconvert"), compositor})) return false;
    PlaceRear(compositor, *front, *rear, job.rear);
  }
  GstElement* overlay = AddOverlay(run);
  GstElement* encoder = AddElement(run.Bin(), "x264enc");
  if (!encoder) return false;
  g_object_set(encoder, "speed-preset", 2 /* superfast */, "bitrate", kBitrateKbit, "key-int-max", kKeyInterval,
               nullptr);
  GstElement* parse = AddElement(run.Bin(), "h264parse");
  if (!LinkChain({compositor, AddElement(run.Bin(), "videoconvert"), overlay, encoder, parse, mux})) return false;
  updater.overlay = overlay;
  const GstPtr<GstPad> overlaySink = Adopt(gst_element_get_static_pad(overlay, "video_sink"));
  gst_pad_add_probe(overlaySink.get(), GST_PAD_PROBE_TYPE_BUFFER, UpdateOverlay, &updater, nullptr);
  const GstPtr<GstPad> toMux = Adopt(gst_element_get_static_pad(parse, "src"));
  run.Gate(toMux.get(), true);
  return true;
}

bool BuildSound(CExportRun& run, GstElement* source, const ExportStream& sound, GstElement* mux) {
  GstElement* encoder = AddElement(run.Bin(), "voaacenc");
  if (!LinkChain({AddDecodeBranch(run, source, sound), AddElement(run.Bin(), "audioconvert"),
                  AddElement(run.Bin(), "audioresample"), encoder, mux}))
    return false;
  const GstPtr<GstPad> toMux = Adopt(gst_element_get_static_pad(encoder, "src"));
  run.Gate(toMux.get(), false);
  return true;
}

}  // namespace

PipelineOutcome RunReencode(const PipelineJob& job, const std::string& outPath) {
  CExportRun run(Retain(gst_pipeline_new("vx880-export")), job, {outPath});
  std::vector<std::string> files;
  for (const ExportPiece& piece : job.plan->pieces) files.push_back(piece.path);
  std::string error;
  GstElement* source = AddPieceSource(run.Bin(), files, job.streams.avi, error);
  if (!source) return {false, false, error};
  GstElement* mux = AddElement(run.Bin(), "mp4mux");
  GstElement* sink = AddElement(run.Bin(), "filesink", "out0");
  g_object_set(sink, "location", PartPath(outPath).c_str(), "async", FALSE, nullptr);
  OverlayUpdater updater{&job, nullptr, {}};
  const ExportStream* sound = job.sound ? job.streams.Find("audio_0") : nullptr;
  if (!LinkChain({mux, sink}) || !BuildVideo(run, source, job, mux, updater) ||
      (sound && !BuildSound(run, source, *sound, mux)))
    return {false, false, "a GStreamer element the export needs is missing (textoverlay: gstreamer1.0-x)"};
  return run.Run(GST_SEEK_FLAG_ACCURATE);
}

}  // namespace vx
